#include "Localization/HelpTopic.hpp"

namespace tessarin {

std::string HelpTopic::searchableText() const {
    std::string text = title;
    for (const HelpBlock& block : blocks) {
        for (std::string_view piece : block.texts()) {
            text += ' ';
            text += piece;
        }
    }
    return text;
}

}  // namespace tessarin
