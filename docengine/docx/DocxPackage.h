#pragma once
// The parts of a WordprocessingML package and the relationships between them.

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "zip/ZipReader.h"

namespace tavrino::docs {

struct Relationship {
    std::string type;    // the last path segment of the relationship type ("image", ...)
    std::string target;  // a part name resolved against the source part, or a URL
    bool external = false;
};

using Relationships = std::map<std::string, Relationship>;  // by r:id

class DocxPackage {
  public:
    // Opens the package and checks that it is a WordprocessingML document. Throws
    // DocumentError.
    explicit DocxPackage(std::string_view bytes);

    const std::string& mainPart() const { return mainPart_; }

    // Parses a part; an absent part gives an empty document when `required` is false.
    void parse(pugi::xml_document& into, const std::string& part, bool required = false);
    std::string readBinary(const std::string& part) { return zip_.read(part); }
    bool has(const std::string& part) const { return zip_.find(part).has_value(); }

    // The relationships whose source is `part`.
    Relationships relationshipsOf(const std::string& part);

    // The first target of a relationship type from `part` ("" when there is none).
    std::string targetOfType(const std::string& part, std::string_view type);

  private:
    ZipReader zip_;
    std::string mainPart_;
};

}  // namespace tavrino::docs
