#pragma once
// The built-in self-test behind "--selftest": quick checks that this install can show its
// menus, word its results, draw its icon and find its bundle files, plus a conversion round
// trip on generated samples where this build converts. One line per check; the status is 0
// only when every check passed. Needs a QApplication (the samples are drawn with Qt) but no
// display.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tavrino::app {

struct SelfCheck {
    std::string name;
    // No value when the check passed, otherwise why it failed.
    std::function<std::optional<std::string>()> run;
};

std::vector<SelfCheck> selfChecks();

// Runs the checks, prints "OK\t" or "FAIL\t" lines and a summary; returns the exit status.
int runSelfTest(const std::vector<SelfCheck>& checks, std::ostream& out);

}  // namespace tavrino::app
