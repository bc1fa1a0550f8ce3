// Real-world-shaped markup goes into the tree a browser would build, and the
// tree comes back out in that browser's markup style.
#include "browser/html/html_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "browser/html/html_markup.h"

using namespace corvalin::browser;
using dom::Element;

namespace {

dom::Ref<dom::Document> Parse(std::wstring_view markup) { return html::ParseDocument(markup, L"http://host/dir/page.html"); }

std::wstring BodyHtml(std::wstring_view markup) {
    auto doc = Parse(markup);
    return html::InnerHtml(*doc->Body());
}

}  // namespace

TEST(HtmlParserTest, MissingHtmlHeadAndBodyAreSupplied) {
    auto doc = Parse(L"<title>T</title><p>hello");
    ASSERT_NE(doc->DocumentElement(), nullptr);
    ASSERT_NE(doc->Head(), nullptr);
    ASSERT_NE(doc->Body(), nullptr);
    EXPECT_EQ(doc->Title(), L"T");
    EXPECT_EQ(html::InnerHtml(*doc->Body()), L"<P>hello</P>");

    for (std::wstring_view empty : {L"", L"   ", L"<!-- only a comment -->"}) {
        auto d = Parse(empty);
        ASSERT_NE(d->Body(), nullptr) << std::wstring(empty);
        ASSERT_NE(d->Head(), nullptr);
    }
}

TEST(HtmlParserTest, UnclosedElementsCloseWhereBrowsersCloseThem) {
    struct Case {
        const wchar_t* markup;
        const wchar_t* body;
    } cases[] = {
        {L"<p>one<p>two", L"<P>one</P><P>two</P>"},
        {L"<ul><li>a<li>b</ul>", L"<UL><LI>a</LI><LI>b</LI></UL>"},
        {L"<table><tr><td>1<td>2<tr><td>3</table>",
         L"<TABLE><TBODY><TR><TD>1</TD><TD>2</TD></TR><TR><TD>3</TD></TR></TBODY></TABLE>"},
        {L"<select><option>a<option selected>b</select>",
         L"<SELECT><OPTION>a</OPTION><OPTION SELECTED>b</OPTION></SELECT>"},
        {L"<div><span>x</div>y", L"<DIV><SPAN>x</SPAN></DIV>y"},
        {L"<b>bold</i></b>", L"<B>bold</B>"},
    };
    for (const auto& c : cases) EXPECT_EQ(BodyHtml(c.markup), c.body) << c.markup;
}

TEST(HtmlParserTest, AttributesEntitiesCommentsAndRawText) {
    auto doc = Parse(
        L"<input name=userqq value=a&amp;b type=TEXT id='q1' title=\"x y\">"
        L"<!-- note --><script>if (a < b && c > d) document.write('<b>');</script>"
        L"<style>p < span { color: red }</style><p>&lt;&copy;&#20013;&nbsp;</p>");
    Element* input = doc->GetElementById(L"q1");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->TagName(), L"INPUT");
    EXPECT_EQ(input->Name(), L"userqq");
    EXPECT_EQ(input->Value(), L"a&b");
    EXPECT_EQ(input->Type(), L"text");
    EXPECT_EQ(input->GetAttribute(L"TITLE"), L"x y");
    // Attribute order is source order.
    ASSERT_EQ(input->Attributes().size(), 5u);
    EXPECT_EQ(input->Attributes()[0].name, L"name");
    EXPECT_EQ(input->Attributes()[4].name, L"title");

    auto scripts = doc->Scripts();
    ASSERT_EQ(scripts.Length(), 1u);
    EXPECT_EQ(scripts.Item(0)->TextContent(), L"if (a < b && c > d) document.write('<b>');");
    EXPECT_EQ(doc->GetElementsByTagName(L"style").Item(0)->TextContent(), L"p < span { color: red }");
    EXPECT_EQ(doc->GetElementsByTagName(L"p").Item(0)->TextContent(), L"<\u00a9\u4e2d\u00a0");

    bool sawComment = false;
    for (dom::Node* n = doc->FirstChild(); n; n = n->NextInTree(doc.get())) {
        if (n->Type() == dom::NodeType::Comment) sawComment = n->Data() == L" note ";
    }
    EXPECT_TRUE(sawComment);
}

// Long tags take the parser's indexed path for repeated names; short tags the
// plain one. Both keep every distinct name once, in source order, first value
// winning.
TEST(HtmlParserTest, RepeatedAttributeNamesKeepTheFirstOnShortAndLongTags) {
    for (int count : {3, 300}) {
        std::wstring markup = L"<div id=target";
        for (int i = 0; i < count; ++i) markup += L" a" + std::to_wstring(i) + L"=first" + std::to_wstring(i);
        for (int i = 0; i < count; i += 2) markup += L" A" + std::to_wstring(i) + L"=second";
        markup += L" id=other>x</div>";
        auto doc = Parse(markup);
        Element* div = doc->GetElementById(L"target");
        ASSERT_NE(div, nullptr) << count;
        ASSERT_EQ(div->Attributes().size(), static_cast<size_t>(count) + 1) << count;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(div->Attributes()[i + 1].name, L"a" + std::to_wstring(i));
            EXPECT_EQ(div->GetAttribute(L"a" + std::to_wstring(i)), L"first" + std::to_wstring(i));
        }
    }
}

TEST(HtmlParserTest, DeclaredCharsetDoesNotChangeHowTextIsRead) {
    // The engine decodes bytes before parsing; a <meta> naming GBK must not
    // make the parser re-read our UTF-8.
    auto doc = Parse(L"<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\"><span id=s>状态：在线</span>");
    ASSERT_NE(doc->GetElementById(L"s"), nullptr);
    EXPECT_EQ(doc->GetElementById(L"s")->TextContent(), L"状态：在线");
}

TEST(HtmlMarkupTest, SerialisesInTheBrowserControlsStyle) {
    struct Case {
        const wchar_t* markup;
        const wchar_t* html;
    } cases[] = {
        {L"<span id=zt_msg class=\"a b\">ok</span>", L"<SPAN id=zt_msg class=\"a b\">ok</SPAN>"},
        {L"<a href=\"x.php?a=1&amp;b=2\">l</a>", L"<A href=\"x.php?a=1&amp;b=2\">l</A>"},
        {L"<input type=checkbox checked name=c>", L"<INPUT type=checkbox CHECKED name=c>"},
        {L"<input value=\"\">", L"<INPUT value=\"\">"},
        {L"<p title='say \"hi\"'>a &lt; b &amp; c</p>", L"<P title=\"say &quot;hi&quot;\">a &lt; b &amp; c</P>"},
        {L"<br><img src=a.gif><hr>", L"<BR><IMG src=a.gif><HR>"},
        {L"<div>&nbsp;</div>", L"<DIV>&nbsp;</DIV>"},
        {L"<p>x</p><script>a<b</script>", L"<P>x</P><SCRIPT>a<b</SCRIPT>"},
        {L"<b>中文</b><!--c-->", L"<B>中文</B><!--c-->"},
        {L"<font color=red size=2>x</font>", L"<FONT color=red size=2>x</FONT>"},
    };
    for (const auto& c : cases) EXPECT_EQ(BodyHtml(c.markup), c.html) << c.markup;
}

TEST(HtmlMarkupTest, InnerHtmlRoundTripsAndFragmentsFollowTheirContainer) {
    auto doc = Parse(L"<div id=d></div><select id=s></select><table id=t><tbody id=tb></tbody></table>");
    Element* div = doc->GetElementById(L"d");
    const std::wstring markup = L"<B>x</B> and <SPAN class=c>y</SPAN><INPUT name=n>";
    ASSERT_TRUE(html::SetInnerHtml(*div, markup));
    EXPECT_EQ(html::InnerHtml(*div), markup);
    ASSERT_TRUE(html::SetInnerHtml(*div, html::InnerHtml(*div)));
    EXPECT_EQ(html::InnerHtml(*div), markup);

    Element* select = doc->GetElementById(L"s");
    ASSERT_TRUE(html::SetInnerHtml(*select, L"<option value=1>one<option value=2 selected>two"));
    EXPECT_EQ(select->Options().size(), 2u);
    EXPECT_EQ(select->SelectedIndex(), 1);
    EXPECT_EQ(select->Value(), L"2");

    Element* tbody = doc->GetElementById(L"tb");
    ASSERT_TRUE(html::InsertAdjacentHtml(*tbody, L"beforeEnd", L"<tr><td>a<td>b</tr>"));
    Element* table = doc->GetElementById(L"t");
    ASSERT_EQ(table->Rows().size(), 1u);
    EXPECT_EQ(table->Rows()[0]->Cells().size(), 2u);

    // Void elements hold no markup.
    Element* input = doc->GetElementsByTagName(L"input").Item(0);
    EXPECT_FALSE(html::SetInnerHtml(*input, L"<b>x</b>"));
}

TEST(HtmlMarkupTest, InsertAdjacentHtmlAtAllFourPlaces) {
    auto doc = Parse(L"<div id=outer><span id=s>mid</span></div>");
    Element* s = doc->GetElementById(L"s");
    EXPECT_TRUE(html::InsertAdjacentHtml(*s, L"afterBegin", L"<i>1</i>"));
    EXPECT_TRUE(html::InsertAdjacentHtml(*s, L"BEFOREEND", L"<i>2</i>"));
    EXPECT_TRUE(html::InsertAdjacentHtml(*s, L"beforebegin", L"<b>0</b>"));
    EXPECT_TRUE(html::InsertAdjacentHtml(*s, L"afterEnd", L"tail"));
    EXPECT_FALSE(html::InsertAdjacentHtml(*s, L"middle", L"<b>no</b>"));
    EXPECT_EQ(html::InnerHtml(*doc->GetElementById(L"outer")),
              L"<B>0</B><SPAN id=s><I>1</I>mid<I>2</I></SPAN>tail");

    ASSERT_TRUE(html::SetOuterHtml(*s, L"<em>new</em>"));
    EXPECT_EQ(html::InnerHtml(*doc->GetElementById(L"outer")), L"<B>0</B><EM>new</EM>tail");
    EXPECT_EQ(doc->GetElementById(L"s"), nullptr);
}

TEST(HtmlParserTest, TenThousandLevelsOfNestingParseSerialiseAndFree) {
    std::size_t before = dom::Node::LiveCount();
    {
        std::wstring markup;
        for (int i = 0; i < 10000; ++i) markup += L"<div>";
        markup += L"deep";
        auto doc = Parse(markup);
        int depth = 0;
        for (dom::Node* n = doc->Body(); n && n->FirstChild(); n = n->FirstChild()) ++depth;
        EXPECT_GE(depth, 10000);
        std::wstring out = html::OuterHtml(*doc->DocumentElement());
        EXPECT_NE(out.find(L"deep"), std::wstring::npos);
        EXPECT_FALSE(doc->Body()->InnerText().empty());
    }
    EXPECT_EQ(dom::Node::LiveCount(), before);
}

TEST(HtmlParserTest, BinaryGarbageAndHugeBodiesParse) {
    std::wstring garbage;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245 + 12345;
        garbage += static_cast<wchar_t>((seed >> 16) & 0xFFFF);
    }
    auto doc = Parse(garbage);
    ASSERT_NE(doc->Body(), nullptr);
    html::OuterHtml(*doc->DocumentElement());

    std::wstring big = L"<html><body><span id=s>";
    big.append(20 * 1024 * 1024 / sizeof(wchar_t), L'x');
    big += L"</span><p id=after>end</p>";
    auto bigDoc = Parse(big);
    ASSERT_NE(bigDoc->GetElementById(L"after"), nullptr);
    EXPECT_EQ(bigDoc->GetElementById(L"s")->TextContent().size(), 20u * 1024 * 1024 / sizeof(wchar_t));
}

TEST(HtmlParserTest, TextOutsideAnyElementGoesStraightIntoTheBody) {
    struct Case {
        const wchar_t* markup;
        const wchar_t* body;
    } cases[] = {
        {L"<title>T</title>hello <b>x</b>", L"hello <B>x</B>"},
        {L"<html><head><meta name=a content=b></head>text<div>d</div></html>", L"text<DIV>d</DIV>"},
        {L"<p>a</p></body></html>tail", L"<P>a</P>tail"},
        {L"<p>a</p></html><script>var counter;</script><img src=c.gif>", L"<P>a</P><SCRIPT>var counter;</SCRIPT><IMG src=c.gif>"},
        {L"<title>T</title>one<p>two</p>three", L"one<P>two</P>three"},
        // A paragraph of the markup stays one, with or without attributes.
        {L"<title>T</title><p>para", L"<P>para</P>"},
        {L"<title>T</title><p class=c>para</p>", L"<P class=c>para</P>"},
    };
    for (const auto& c : cases) EXPECT_EQ(BodyHtml(c.markup), c.body) << c.markup;

    auto doc = Parse(L"<div id=d></div>");
    Element* div = doc->GetElementById(L"d");
    ASSERT_TRUE(html::SetInnerHtml(*div, L"a</body>b<p>c</p>"));
    EXPECT_EQ(html::InnerHtml(*div), L"ab<P>c</P>");
}

TEST(HtmlParserTest, TextareaTitleAndXmpHoldTheirContentAsText) {
    auto doc = Parse(
        L"<title>a <b>b</b> &amp; c</title>"
        L"<textarea id=t title=\"x>y\">x<b>y</b>&lt;z</form></textarea>"
        L"<xmp id=x><i>i</i>&amp;</xmp>"
        L"<script>var s = '<textarea><b>';</script><!-- <title> --><b id=b>bold</b>");
    EXPECT_EQ(doc->Title(), L"a <b>b</b> & c");
    Element* t = doc->GetElementById(L"t");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Value(), L"x<b>y</b><z</form>");
    EXPECT_EQ(t->GetAttribute(L"title"), L"x>y");
    EXPECT_EQ(doc->GetElementById(L"x")->TextContent(), L"<i>i</i>&amp;");
    // Script text and comments are no textarea's: what follows them is markup.
    EXPECT_EQ(doc->Scripts().Item(0)->TextContent(), L"var s = '<textarea><b>';");
    ASSERT_NE(doc->GetElementById(L"b"), nullptr);
    EXPECT_EQ(doc->GetElementById(L"b")->TagName(), L"B");

    // The same inside a fragment, and the content comes back out as it went in.
    Element* b = doc->GetElementById(L"b");
    ASSERT_TRUE(html::SetInnerHtml(*b, L"<textarea id=u><p>not a paragraph</p></textarea>"));
    Element* u = doc->GetElementById(L"u");
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->Value(), L"<p>not a paragraph</p>");
    EXPECT_EQ(html::InnerHtml(*b), L"<TEXTAREA id=u>&lt;p&gt;not a paragraph&lt;/p&gt;</TEXTAREA>");
    // A textarea never closed takes the rest of the page.
    auto open = Parse(L"<textarea id=o>left <b>open");
    EXPECT_EQ(open->GetElementById(L"o")->Value(), L"left <b>open");
}

TEST(HtmlParserTest, TableSectionsAfterLooseRowsStayTheTablesOwn) {
    auto doc = Parse(L"<table id=t><tr><td>a</tr><tbody><tr><td>b</tbody><tr><td>c</tr><tfoot><tr><td>d</tfoot></table>");
    Element* t = doc->GetElementById(L"t");
    EXPECT_EQ(html::InnerHtml(*t),
              L"<TBODY><TR><TD>a</TD></TR></TBODY><TBODY><TR><TD>b</TD></TR></TBODY>"
              L"<TBODY><TR><TD>c</TD></TR></TBODY><TFOOT><TR><TD>d</TD></TR></TFOOT>");
    EXPECT_EQ(t->Rows().size(), 4u);
}

TEST(HtmlMarkupTest, WhatInnerHtmlGivesParsesBackToTheSameTree) {
    const wchar_t* cases[] = {
        L"<p title='say \"hi\" it&apos;s' class=\"a b\" lang=中文 data-x=\"1 2\">t &lt;&gt; &amp;copy; &nbsp;x</p>",
        L"<a href=\"?a=1&amp;copy=2&amp;lt=3\">l</a><img alt=\"\" src=\"a b.gif\">",
        L"<script>if (a < b && c > d) s = '</b>';</script><style>p > b { color: red }</style>",
        L"<textarea>&lt;/textarea&gt; &amp; <b></textarea><xmp><b>&amp;</b></xmp>",
        L"<table><tbody><tr><td colspan=2>x</td></tr></tbody></table><select><option selected value=\"a'b\">o</option></select>",
        L"<ul><li>1<li>2</ul><!-- note -- here --><pre>\n\nline</pre><input type=checkbox checked>",
        L"<div title=\"line\none\">中文 <span>\u00a0</span></div>",
    };
    for (const wchar_t* markup : cases) {
        const std::wstring once = BodyHtml(markup);
        EXPECT_EQ(BodyHtml(once), once) << markup;
    }
}

// Pages of the browser's era write references loosely: the common names
// without their ';', names nobody knows, and code points 128 to 159 meaning
// the windows-1252 characters. Text, attribute values and titles read alike.
TEST(HtmlParserTest, CharacterReferencesReadAsTheBrowserReadsThem) {
    struct Case {
        const wchar_t* markup;
        const wchar_t* text;
    } cases[] = {
        {L"a &amp b", L"a & b"},
        {L"&lt&gt&quot,&nbsp.&copy 2004", L"<>\",\u00a0.\u00a9 2004"},
        {L"x&amp", L"x&"},
        {L"&copyright &ampx &amp;amp", L"&copyright &ampx &amp"},
        {L"&foo; &Amp; &;", L"&foo; &Amp; &;"},
        {L"&#128;&#150;&#x96;&#X9F;&#153; &#127;&#160;&#8364;", L"\u20ac\u2013\u2013\u0178\u2122 \u007f\u00a0\u20ac"},
        {L"&#129;&#141;", L"\u0081\u008d"},
    };
    for (const auto& c : cases) {
        auto doc = Parse(std::wstring(L"<p id=p title=\"") + c.markup + L"\">" + c.markup + L"</p><textarea id=t>" +
                         c.markup + L"</textarea><title>" + c.markup + L"</title>");
        Element* p = doc->GetElementById(L"p");
        ASSERT_NE(p, nullptr) << c.markup;
        EXPECT_EQ(p->TextContent(), c.text) << c.markup;
        EXPECT_EQ(p->GetAttribute(L"title"), c.text) << c.markup;
        EXPECT_EQ(doc->GetElementById(L"t")->Value(), c.text) << c.markup;
        EXPECT_EQ(doc->Title(), c.text) << c.markup;
    }

    // A name run on into '=' in an attribute is a query parameter, not a reference.
    auto doc = Parse(L"<a id=a href=\"?x=1&copy=2&lt=3&amp;reg=4&nbsp\">&copy=</a>");
    EXPECT_EQ(doc->GetElementById(L"a")->GetAttribute(L"href"), L"?x=1&copy=2&lt=3&reg=4\u00a0");
    EXPECT_EQ(doc->GetElementById(L"a")->TextContent(), L"\u00a9=");
    // Script, style and comment text is never read for references; <xmp> as it stands.
    doc = Parse(L"<script>var s = '&amp &#150; &foo;';</script><xmp id=x>&amp &#150;</xmp><!-- &amp -->");
    EXPECT_EQ(doc->Scripts().Item(0)->TextContent(), L"var s = '&amp &#150; &foo;';");
    EXPECT_EQ(doc->GetElementById(L"x")->TextContent(), L"&amp &#150;");
    // The same through a fragment.
    ASSERT_TRUE(html::SetInnerHtml(*doc->Body(), L"<b id=b title='&lt&#150;'>&gt&foo;&#128;</b>"));
    Element* b = doc->GetElementById(L"b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetAttribute(L"title"), L"<\u2013");
    EXPECT_EQ(b->TextContent(), L">&foo;\u20ac");
}

// The parser ends <b>, <i>, <font> and their kind where a paragraph or
// <center> starts; the browser keeps the paragraph's text in that formatting
// until the formatting's own end tag.
TEST(HtmlParserTest, FormattingCarriesIntoTheParagraphThatEndsIt) {
    struct Case {
        const wchar_t* markup;
        const wchar_t* body;
    } cases[] = {
        {L"<b><p>x</b>", L"<B></B><P><B>x</B></P>"},
        {L"<b>a<p>x</B>y</p>z", L"<B>a</B><P><B>x</B>y</P>z"},
        {L"<b><p>x<b>y</b>z</b>w", L"<B></B><P><B>x<B>y</B>z</B>w</P>"},
        {L"<u><i><p>x</i>y</u>z</p>", L"<U><I></I></U><P><U><I>x</I>y</U>z</P>"},
        {L"<b><p>x<!-- </b> --><big>y</big></b>z", L"<B></B><P><B>x<!-- </b> --><BIG>y</BIG></B>z</P>"},
        {L"<b>a<p>x</p></b>y", L"<B>a</B><P><B>x</B></P>y"},
        {L"<i><b class=c><p>x</b></i><p>y", L"<I><B class=c></B></I><P><I><B class=c>x</B></I></P><P>y</P>"},
        {L"<font color=red><center>x</center>y</font>", L"<FONT color=red></FONT><CENTER><FONT color=red>x</FONT></CENTER>y"},
        // Not carried: what the parser leaves open, what the markup itself
        // closed, and anything but formatting.
        {L"<font color=red><p>x</font>", L"<FONT color=red><P>x</P></FONT>"},
        {L"<b>a</b><p>x", L"<B>a</B><P>x</P>"},
        {L"<span><p>x</span>", L"<SPAN><P>x</P></SPAN>"},
        {L"<b><div>x</div></b>", L"<B><DIV>x</DIV></B>"},
    };
    for (const auto& c : cases) EXPECT_EQ(BodyHtml(c.markup), c.body) << c.markup;

    // Far into a long page, where the parser has let go of what it read.
    std::wstring filler, written;
    for (int i = 0; i < 2000; ++i) {
        filler += L"<i>filler</i>";
        written += L"<I>filler</I>";
    }
    EXPECT_EQ(BodyHtml(filler + L"<b><p>x</b>y<b>z</b>"), written + L"<B></B><P><B>x</B>y<B>z</B></P>");

    auto doc = Parse(L"<div id=d></div>");
    ASSERT_TRUE(html::SetInnerHtml(*doc->GetElementById(L"d"), L"<u><p>x"));
    EXPECT_EQ(html::InnerHtml(*doc->GetElementById(L"d")), L"<U></U><P><U>x</U></P>");
}
