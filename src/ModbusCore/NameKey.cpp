#include "ModbusCore/NameKey.hpp"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cstdint>

namespace tessarin {

namespace {

bool isBlank(UChar32 c) {
    return c == u' ' || c == u'\t' || c == 0x00A0 || c == 0x202F;
}

// Hyphen-minus, underscore, apostrophe, hyphen, non-breaking hyphen, right single quotation mark
// (the apostrophe that text editors put in "d’entrée").
bool isJoiner(UChar32 c) {
    return c == u'-' || c == u'_' || c == u'\'' || c == 0x2010 || c == 0x2011 || c == 0x2019;
}

}  // namespace

std::string nameKey(std::string_view text) {
    icu::UnicodeString unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
    unicode.foldCase();
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* decomposition = icu::Normalizer2::getNFDInstance(status);
    if (U_SUCCESS(status)) {
        icu::UnicodeString decomposed = decomposition->normalize(unicode, status);
        if (U_SUCCESS(status)) unicode = decomposed;
    }
    icu::UnicodeString key;
    const std::int32_t length = unicode.length();
    for (std::int32_t i = 0; i < length; i = unicode.moveIndex32(i, 1)) {
        const UChar32 c = unicode.char32At(i);
        if (u_charType(c) == U_NON_SPACING_MARK || isBlank(c)) continue;
        const bool inner = i > 0 && unicode.moveIndex32(i, 1) < length;
        if (inner && isJoiner(c)) continue;
        key.append(c);
    }
    std::string out;
    key.toUTF8String(out);
    return out;
}

}  // namespace tessarin
