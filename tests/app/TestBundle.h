#pragma once
// An installed bundle laid out in a temporary folder: a copy of the built `tavrino` (a copy,
// not a link, because the program finds its bundle from its resolved executable), Info.ini
// and the notices file.

#include <filesystem>

#include "support/TestFiles.h"

namespace tavrino::test {

class TestBundle {
  public:
    TestBundle();
    std::filesystem::path folder() const { return dir_.path(); }
    std::filesystem::path program() const { return dir_ / "tavrino"; }
    std::filesystem::path notices() const { return dir_ / "Resources" / "THIRD_PARTY_NOTICES.txt"; }

  private:
    TempDir dir_;
};

}  // namespace tavrino::test
