#include "Localization/HelpTopic.hpp"

namespace tessarin {

namespace {

// The help texts use '*' and '`' only as Markdown markers (the content tests hold them to
// that), so dropping every one of them leaves exactly the shown text.
void appendShownText(std::string& text, std::string_view markdown) {
    for (const char c : markdown) {
        if (c != '*' && c != '`') text += c;
    }
}

}  // namespace

std::string HelpTopic::searchableText() const {
    std::string text = title;
    for (const HelpBlock& block : blocks) {
        for (std::string_view piece : block.texts()) {
            text += ' ';
            appendShownText(text, piece);
        }
    }
    return text;
}

}  // namespace tessarin

std::size_t std::hash<tessarin::HelpTopic>::operator()(const tessarin::HelpTopic& topic) const noexcept {
    std::size_t seed = std::hash<std::string>{}(topic.id);
    tessarin::combineHash(seed, std::hash<std::string>{}(topic.title));
    tessarin::combineHash(seed, std::hash<std::string>{}(topic.symbol));
    for (const tessarin::HelpBlock& block : topic.blocks) {
        tessarin::combineHash(seed, std::hash<tessarin::HelpBlock>{}(block));
    }
    return seed;
}
