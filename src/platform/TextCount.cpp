#include "platform/TextCount.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace tavrino {

std::size_t countCharacters(std::string_view text) {
    if (text.empty()) return 0;
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> breaks(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    // Without ICU's break rules, code points are the closest count we can give.
    if (U_FAILURE(status) || !breaks) return static_cast<std::size_t>(unicode.countChar32());
    breaks->setText(unicode);
    std::size_t count = 0;
    for (int32_t at = breaks->next(); at != icu::BreakIterator::DONE; at = breaks->next())
        ++count;
    return count;
}

}  // namespace tavrino
