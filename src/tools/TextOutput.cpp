#include "tools/TextOutput.h"

#include <memory>

#include "convert/ConvertError.h"
#include "platform/Clipboard.h"
#include "platform/TextCount.h"
#include "tools/ResultFile.h"

namespace tavrino {

ToolResult deliverText(const std::filesystem::path& source, const std::string& text) {
    if (text.empty()) throw ConvertError("글자를 찾지 못함");
    const std::filesystem::path output =
        writeResultFile(text, toolOutputName(source, "글자", "txt"), "파일 저장 실패");
    const std::string count = std::to_string(countCharacters(text));
    const std::shared_ptr<Clipboard> clipboard = installedClipboard();
    if (!clipboard) return {output, count + "자 · 복사하지 않음"};
    clipboard->putText(text);
    return {output, count + "자 · 복사됨"};
}

}  // namespace tavrino
