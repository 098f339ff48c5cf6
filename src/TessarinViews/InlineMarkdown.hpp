#pragma once

#include <QString>
#include <QStringView>

// The inline Markdown of the help texts (**bold**, *italic*, `code`) as the rich text of a
// label. A marker counts only where Markdown would take it: an opening one is followed by a
// character that is not white space, a closing one follows such a character, and a span is
// never empty; any other marker, and one without its partner, is shown as typed. Code spans
// take their content literally. White space is kept as written, and the text is escaped, so
// nothing in it can become markup of its own.
namespace tessarin::InlineMarkdown {

[[nodiscard]] QString toHtml(QStringView text);

}  // namespace tessarin::InlineMarkdown
