#pragma once
// Styles and numbering of a WordprocessingML package, resolved into model properties: a
// paragraph's effective properties are the document defaults, then its style chain (base
// first), then its direct formatting.

#include <pugixml.hpp>

#include <map>
#include <string>

#include "model/Style.h"

namespace tavrino::docs {

struct DocxStyle {
    std::string name;
    std::string basedOn;
    pugi::xml_node pPr;
    pugi::xml_node rPr;
};

class DocxStyles {
  public:
    // Either document may be empty (a package without styles or numbering).
    DocxStyles(const pugi::xml_document& styles, const pugi::xml_document& numbering);

    ParaProps paragraphProps(const pugi::xml_node& pPr) const;
    CharProps runProps(const pugi::xml_node& rPr, const std::string& paragraphStyle) const;

  private:
    void applyStyleChain(const std::string& id, ParaProps* para, CharProps* run) const;
    void applyNumbering(const pugi::xml_node& numPr, ParaProps& props) const;

    pugi::xml_node defaultPPr_;
    pugi::xml_node defaultRPr_;
    std::string defaultParagraphStyle_;
    std::map<std::string, DocxStyle> styles_;
    std::map<int, int> numToAbstract_;
    std::map<int, pugi::xml_node> abstracts_;
};

// Direct formatting onto existing values; exposed for headers, notes and tests.
void applyParagraphProperties(const pugi::xml_node& pPr, ParaProps& props);
void applyRunProperties(const pugi::xml_node& rPr, CharProps& props);

}  // namespace tavrino::docs
