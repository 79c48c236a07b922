#include "tools/XmlScan.h"

#include <gtest/gtest.h>

#include <array>

using namespace tavrino;

namespace {

XmlEdit drop(std::string_view xml, std::string_view name) {
    const std::array<std::string_view, 1> names{name};
    return dropElements(xml, names);
}

}  // namespace

// Whole elements go, in either form, and only those whose name is exactly the one asked for.
TEST(XmlScan, DropsWholeElementsByTheirExactName) {
    const XmlEdit empty = drop("<r><dc:creator a=\"x\"/><b/></r>", "dc:creator");
    EXPECT_EQ(empty.text, "<r><b/></r>");
    EXPECT_EQ(empty.changed, 1);

    const XmlEdit similar = drop(
        "<r><dc:title>t</dc:title><dc:titleX>k</dc:titleX><dcterms:title>u</dcterms:title></r>",
        "dc:title");
    EXPECT_EQ(similar.text, "<r><dc:titleX>k</dc:titleX><dcterms:title>u</dcterms:title></r>");
    EXPECT_EQ(similar.changed, 1);

    const XmlEdit twice = drop("<r><a>1</a> <a x='2'>2</a></r>", "a");
    EXPECT_EQ(twice.text, "<r> </r>");
    EXPECT_EQ(twice.changed, 2);

    // "Properties" begins like "property" but is another element.
    EXPECT_EQ(drop("<Properties><property n=\"1\">v</property></Properties>", "property").text,
              "<Properties></Properties>");
}

// Quoted ">" and "/>" inside attribute values, comments and CDATA do not end or start tags.
TEST(XmlScan, AttributeValuesCommentsAndCdataAreNotTags) {
    EXPECT_EQ(drop("<r><dc:creator note=\"a>b/>\">x</dc:creator>z</r>", "dc:creator").text,
              "<r>z</r>");
    const std::string commented =
        "<r><!-- <dc:creator>x</dc:creator> --><![CDATA[<dc:creator>]]></r>";
    const XmlEdit untouched = drop(commented, "dc:creator");
    EXPECT_EQ(untouched.text, commented);
    EXPECT_EQ(untouched.changed, 0);
}

// Same-named elements inside one another are matched by depth; an element that never closes
// is left as it is rather than cutting the rest of the part away.
TEST(XmlScan, NestingAndUnclosedElements) {
    const XmlEdit nested = drop("<r><a><a>x</a>y</a>z</r>", "a");
    EXPECT_EQ(nested.text, "<r>z</r>");
    EXPECT_EQ(nested.changed, 1);
    const std::string unclosed = "<r><a>x</r>";
    EXPECT_EQ(drop(unclosed, "a").text, unclosed);
    EXPECT_EQ(drop(unclosed, "a").changed, 0);
    EXPECT_EQ(drop("<r><a x=\"never closed", "a").changed, 0);
}

TEST(XmlScan, EmptiesChosenElementsKeepingTheirStartTag) {
    const std::string hpf =
        "<m><opf:title>제목</opf:title><opf:meta name=\"creator\" "
        "content=\"text\">작성자</opf:meta>"
        "<opf:meta name=\"creatorX\" content=\"text\">남음</opf:meta>"
        "<opf:meta name=\"subject\" content=\"text\"/></m>";
    const XmlEdit creator = emptyElements(hpf, "opf:meta", [](const XmlTag& tag) {
        const XmlAttribute* name = tag.attribute("name");
        return name && name->value == "creator";
    });
    EXPECT_EQ(creator.changed, 1);
    EXPECT_NE(creator.text.find("<opf:meta name=\"creator\" content=\"text\"/>"),
              std::string::npos);
    EXPECT_NE(creator.text.find(">남음</opf:meta>"), std::string::npos);
    const XmlEdit title = emptyElements(creator.text, "opf:title");
    EXPECT_EQ(title.changed, 1);
    EXPECT_NE(title.text.find("<m><opf:title/>"), std::string::npos);
    // Already empty: nothing to count, in either form.
    EXPECT_EQ(emptyElements("<opf:title></opf:title><opf:title/>", "opf:title").changed, 0);
}

TEST(XmlScan, ClearsOrRemovesAttributes) {
    const std::string body =
        "<w:ins w:id=\"1\" w:author=\"Kim\" w:date=\"2024-01-01T00:00:00Z\"><w:r/></w:ins>"
        "<w:comment w:authorX='keep' w:initials='K'/>";
    const XmlEdit blank = clearAttributes(body, "", "w:author", true);
    EXPECT_EQ(blank.changed, 1);
    EXPECT_NE(blank.text.find("w:author=\"\" w:date"), std::string::npos);
    const XmlEdit dated = clearAttributes(blank.text, "", "w:date", false);
    EXPECT_EQ(dated.changed, 1);
    EXPECT_NE(dated.text.find("<w:ins w:id=\"1\" w:author=\"\"><w:r/>"), std::string::npos);
    const XmlEdit initials = clearAttributes(dated.text, "w:comment", "w:initials", false);
    EXPECT_EQ(initials.changed, 1);
    EXPECT_NE(initials.text.find("<w:comment w:authorX='keep'/>"), std::string::npos);
    EXPECT_EQ(clearAttributes(initials.text, "", "w:author", true).changed, 0);
}

// A part cut off anywhere (a damaged package) is scanned without reading past its end, and
// every edit still gives a text.
TEST(XmlScan, TruncatedPartsAreHandled) {
    const std::string xml =
        "<?xml version=\"1.0\"?><!-- c --><r a='1'><dc:creator x=\"a>b\">k</dc:creator>"
        "<![CDATA[<x>]]><opf:meta name=\"creator\">v</opf:meta><w:ins w:author=\"K\"/></r>";
    const std::array<std::string_view, 1> names{"dc:creator"};
    for (size_t length = 0; length <= xml.size(); ++length) {
        const std::string_view cut(xml.data(), length);
        const XmlEdit dropped = dropElements(cut, names);
        EXPECT_LE(dropped.text.size(), cut.size());
        EXPECT_LE(emptyElements(cut, "opf:meta").text.size(), cut.size() + 1);
        EXPECT_LE(clearAttributes(cut, "", "w:author", false).text.size(), cut.size());
    }
}
