#pragma once
// Korean documents name faces that Linux does not ship (함초롬바탕, 맑은 고딕, HY헤드라인M, ...).
// LibreOffice resolves every face through fontconfig, so the renderer runs with a fontconfig
// file of our own that sends each such face to an installed font of the same kind.

#include <string>
#include <string_view>

namespace tavrino::docs {

enum class FontKind { serif, sans, mono, brush };

// The kind of a face by its name: the known faces first, then the words Korean face names are
// built from (명조, 고딕, ...). Unknown faces are sans, the commonest body face.
FontKind fontKind(std::string_view face);

// A complete fontconfig file: our substitutions, then the system's own configuration.
std::string fontconfigFile();

}  // namespace tavrino::docs
