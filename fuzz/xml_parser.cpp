// The safe XML layer on its own, where most hostile structure is met first (entities,
// nesting, namespaces), without the ZIP container in the way.
#include <cstddef>
#include <cstdint>

#include "model/DocumentError.h"
#include "xml/SafeXml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        pugi::xml_document document;
        tavrino::docs::parseXml(document, {reinterpret_cast<const char*>(data), size}, "fuzz.xml");
    } catch (const tavrino::docs::DocumentError&) {
    }
    return 0;
}
