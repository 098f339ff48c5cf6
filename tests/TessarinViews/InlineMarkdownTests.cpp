#include "TessarinViews/InlineMarkdown.hpp"

#include "ViewsTestApp.hpp"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

TEST(InlineMarkdownTest, RendersBalancedMarkersAndShowsEveryOtherMarkerAsTyped) {
    struct Row {
        const char* name;
        const char16_t* markdown;
        const char16_t* html;
    };
    const Row rows[] = {
        {"bold", u"the **Value** column", u"the <b>Value</b> column"},
        {"italic", u"*RTU over TCP*", u"<i>RTU over TCP</i>"},
        {"code", u"port `502` by default", u"port <code>502</code> by default"},
        {"italic inside bold", u"**a *b* c**", u"<b>a <i>b</i> c</b>"},
        {"bold inside italic", u"*a **b** c*", u"<i>a <b>b</b> c</i>"},
        {"code inside bold", u"**set `x` now**", u"<b>set <code>x</code> now</b>"},
        {"stars inside code are text", u"`a*b*c`", u"<code>a*b*c</code>"},
        {"unclosed bold", u"**bold and more", u"**bold and more"},
        {"unclosed italic", u"a *b", u"a *b"},
        {"unclosed code", u"`code", u"`code"},
        {"stars as arithmetic", u"2 * 3 * 4", u"2 * 3 * 4"},
        {"opener before a blank", u"** not bold**", u"** not bold**"},
        {"closer after a blank", u"*not italic *", u"*not italic *"},
        {"empty spans", u"**** and ``", u"**** and ``"},
        {"bold closer in a run of three", u"**a***", u"**a***"},
        {"lone pair", u"**", u"**"},
        {"markup in the text is escaped", u"<b>x</b> & y", u"&lt;b&gt;x&lt;/b&gt; &amp; y"},
        {"markup in code is escaped", u"`<i>`", u"<code>&lt;i&gt;</code>"},
        {"runs of blanks are kept", u"a  b", u"a &nbsp;b"},
        {"empty", u"", u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(InlineMarkdown::toHtml(QString::fromUtf16(row.markdown)), QString::fromUtf16(row.html));
    }
}

}  // namespace
}  // namespace tessarin
