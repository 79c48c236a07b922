#pragma once
// The visible labels of list paragraphs ("1.", "가.", "•"), counted the way a word processor
// numbers them: a counter per list and level, deeper levels restarting under a new parent.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/Style.h"

namespace tavrino::docs {

class ListLabels {
  public:
    // The label of the next paragraph carrying `list`, "" for paragraphs outside lists.
    std::string next(const ListInfo& list);

  private:
    std::map<int, std::vector<std::optional<int>>> counters_;  // list id -> number per level
};

// `number` written in `format` ("3" -> "다" for ganada).
std::string formatNumber(int number, NumberFormat format);

}  // namespace tavrino::docs
