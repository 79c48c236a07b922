#pragma once
// Collects the distinct character, paragraph and border properties a document uses while its
// sections are written, and then writes them as Contents/header.xml. Ids are handed out in
// order of first use, so equal documents give equal headers.

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

#include "hwpx/HwpxHeader.h"
#include "model/Content.h"

namespace tavrino::docs {

class HwpxHeaderWriter {
  public:
    HwpxHeaderWriter();

    int charPr(const CharProps& props);
    int paraPr(const ParaProps& props);
    int borderFill(const CellLook& look);

    // The whole header.xml for a document of `sectionCount` sections.
    std::string write(int sectionCount) const;

  private:
    int font(const std::string& face);
    int fontId(const std::string& face) const;
    int listReference(const ListInfo& list) const;
    void writeLists(pugi::xml_node refList) const;

    std::vector<std::string> fonts_;
    std::vector<CharProps> charProps_;
    std::vector<ParaProps> paraProps_;
    std::vector<CellLook> borderFills_;  // id = index + 1
    // Numbered lists by model list id (numbering id = position + 1), each level's look.
    std::vector<std::pair<int, std::map<int, ListInfo>>> numberings_;
    std::vector<std::string> bullets_;  // bullet id = index + 1
};

}  // namespace tavrino::docs
