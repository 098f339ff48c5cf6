#include "TessarinViews/InlineMarkdown.hpp"

namespace tessarin::InlineMarkdown {

namespace {

struct Span {
    QStringView marker;
    QStringView openTag;
    QStringView closeTag;
    bool literal;  // the content is not parsed further
};

constexpr Span code{u"`", u"<code>", u"</code>", true};
constexpr Span bold{u"**", u"<b>", u"</b>", false};
constexpr Span italic{u"*", u"<i>", u"</i>", false};

QString escaped(QStringView text) {
    QString html = text.toString().toHtmlEscaped();
    // Rich text folds runs of blanks; the help's texts are written with the blanks they mean.
    html.replace(QStringLiteral("  "), QStringLiteral(" &nbsp;"));
    return html;
}

bool isBlank(QStringView text, qsizetype at) {
    return at < 0 || at >= text.size() || text[at].isSpace();
}

// Where the span that opens at `at` closes, or -1. Stars count in runs: a run of one closes
// an italic span and a run of two a bold one, and a longer run closes neither, so that
// "*a **b** c*" is italic around bold.
qsizetype closerOf(QStringView text, qsizetype at, const Span& span) {
    const qsizetype contentStart = at + span.marker.size();
    if (isBlank(text, contentStart) || text.sliced(contentStart).startsWith(span.marker)) {
        return -1;
    }
    if (span.literal) {
        return text.indexOf(span.marker, contentStart + 1);
    }
    for (qsizetype i = contentStart; i < text.size(); ++i) {
        if (text[i] == u'`') {
            // A code span inside is opaque: its stars are text.
            const qsizetype end = text.indexOf(u'`', i + 1);
            if (end > i + 1) {
                i = end;
            }
            continue;
        }
        if (text[i] != u'*') {
            continue;
        }
        qsizetype run = 1;
        while (i + run < text.size() && text[i + run] == u'*') {
            ++run;
        }
        if (i > contentStart && run == span.marker.size() && !isBlank(text, i - 1)) {
            return i;
        }
        i += run - 1;
    }
    return -1;
}

QString render(QStringView text) {
    QString html;
    qsizetype plainStart = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const Span* span = nullptr;
        if (text[i] == u'`') {
            span = &code;
        } else if (text.sliced(i).startsWith(u"**")) {
            span = &bold;
        } else if (text[i] == u'*') {
            span = &italic;
        }
        const qsizetype close = span ? closerOf(text, i, *span) : -1;
        if (close < 0) {
            // A lone "**" is two literal stars, not an italic opener followed by a star.
            i += span ? span->marker.size() : 1;
            continue;
        }
        html += escaped(text.sliced(plainStart, i - plainStart));
        const QStringView content = text.sliced(i + span->marker.size(), close - i - span->marker.size());
        html += span->openTag;
        html += span->literal ? escaped(content) : render(content);
        html += span->closeTag;
        i = close + span->marker.size();
        plainStart = i;
    }
    html += escaped(text.sliced(plainStart));
    return html;
}

}  // namespace

QString toHtml(QStringView text) {
    return render(text);
}

}  // namespace tessarin::InlineMarkdown
