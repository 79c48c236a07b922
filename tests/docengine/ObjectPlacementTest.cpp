// Where floating pictures and text boxes sit: the readers take the frames, alignments,
// offsets and wrap from each format, every writer gives them back, and the DOCX writer
// anchors such objects instead of setting them in the line.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <pugixml.hpp>

#include "hwp5/ObjectPlacement.h"
#include "io/DocumentIO.h"
#include "model/Walk.h"
#include "zip/ZipReader.h"

namespace tavrino::docs {
namespace {

std::optional<Document> corpusDocument(const std::string& kind, const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(TAVRINO_CORPUS_DIR) / kind / name;
    if (!std::filesystem::exists(path)) return std::nullopt;
    return readDocument(path);
}

// The first inline item of type T anywhere in the body, nested content included.
template <typename T>
std::optional<T> firstObject(const Document& document) {
    std::optional<T> found;
    Visitor visitor;
    visitor.paragraph = [&](const Paragraph& p) {
        for (const TextRun& run : p.runs) {
            for (const Inline& item : run.content) {
                if (const T* object = std::get_if<T>(&item); object && !found) found = *object;
            }
        }
    };
    for (const Section& section : document.sections)
        walk(section, visitor);
    return found;
}

Placement placement(AnchorAxis horizontal, AnchorAxis vertical, TextWrap wrap) {
    Placement p;
    p.horizontal = horizontal;
    p.vertical = vertical;
    p.wrap = wrap;
    return p;
}

TEST(ObjectPlacement, HwpHeaderBitsCarryEveryFrameAlignmentAndWrap) {
    for (AnchorFrame h :
         {AnchorFrame::paper, AnchorFrame::page, AnchorFrame::column, AnchorFrame::paragraph}) {
        for (AnchorFrame v : {AnchorFrame::paper, AnchorFrame::page, AnchorFrame::paragraph}) {
            for (AnchorAlign a : {AnchorAlign::start, AnchorAlign::center, AnchorAlign::end,
                                  AnchorAlign::inside, AnchorAlign::outside}) {
                for (TextWrap w : {TextWrap::square, TextWrap::topAndBottom, TextWrap::behindText,
                                   TextWrap::inFrontOfText}) {
                    const Placement p = placement({h, a, -250}, {v, a, 7000}, w);
                    EXPECT_EQ(hwp5::placementFromHeader(hwp5::placementBits(p), 7000, -250), p);
                }
            }
        }
    }
    // The header has no vertical column frame: such an object is placed from its paragraph.
    const Placement column = placement({}, {AnchorFrame::column}, TextWrap::square);
    EXPECT_EQ(hwp5::placementFromHeader(hwp5::placementBits(column), 0, 0).vertical.frame,
              AnchorFrame::paragraph);
    // Where the fields sit in the word: vertical frame 3-4, vertical alignment 5-7,
    // horizontal frame 8-9, horizontal alignment 10-12, wrap 21-23.
    const Placement p = placement({AnchorFrame::paper, AnchorAlign::center},
                                  {AnchorFrame::page, AnchorAlign::end}, TextWrap::behindText);
    EXPECT_EQ(hwp5::placementBits(p), (1u << 3) | (2u << 5) | (0u << 8) | (1u << 10) | (2u << 21));
    // Values the header does not define fall back to the square wrap and the start.
    const Placement odd = hwp5::placementFromHeader((7u << 5) | (7u << 21), 0, 0);
    EXPECT_EQ(odd.wrap, TextWrap::square);
    EXPECT_EQ(odd.vertical.align, AnchorAlign::start);
}

TEST(ObjectPlacement, ReadersTakeThePlacementTheWordProcessorSaved) {
    // A numbered text box in front of text, placed from the sheet's corner beside the body.
    const auto hwp = corpusDocument("hwp", "extracting_ParaHead.hwp");
    if (!hwp) GTEST_SKIP() << "corpus not found at " << TAVRINO_CORPUS_DIR;
    const auto box = firstObject<Shape>(*hwp);
    ASSERT_TRUE(box);
    EXPECT_FALSE(box->inlineWithText);
    EXPECT_EQ(box->placement,
              placement({AnchorFrame::paper, AnchorAlign::start, 19600},
                        {AnchorFrame::paper, AnchorAlign::start, 19169}, TextWrap::inFrontOfText));
    EXPECT_EQ(box->width, 23978);
    EXPECT_EQ(box->height, 25933);

    const auto picture = corpusDocument("hwpx", "SimplePicture.hwpx");
    ASSERT_TRUE(picture);
    const auto pic = firstObject<Picture>(*picture);
    ASSERT_TRUE(pic);
    EXPECT_FALSE(pic->inlineWithText);
    EXPECT_EQ(pic->placement,
              placement({AnchorFrame::paper, AnchorAlign::start, 8739},
                        {AnchorFrame::paper, AnchorAlign::start, 11775}, TextWrap::square));

    const auto rectangle = corpusDocument("hwpx", "SimpleRectangle.hwpx");
    ASSERT_TRUE(rectangle);
    const auto rect = firstObject<Shape>(*rectangle);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->placement.wrap, TextWrap::inFrontOfText);
    EXPECT_EQ(rect->placement.horizontal.offset, 16664);
    EXPECT_EQ(rect->placement.vertical.offset, 13075);
}

// A document with a floating picture and a floating text box placed as given.
Document floatingObjects(const Placement& forPicture, const Placement& forBox) {
    Document document;
    document.sections.emplace_back();
    const std::size_t media =
        document.addMedia(Media{"dot.png", "image/png", std::string("\x89PNG")});
    Picture picture;
    picture.mediaIndex = media;
    picture.width = 7200;
    picture.height = 3600;
    picture.inlineWithText = false;
    picture.placement = forPicture;
    Shape box;
    box.width = 14400;
    box.height = 7200;
    box.placement = forBox;
    Paragraph inside;
    inside.runs.push_back(TextRun{{}, {Text{"상자 안"}}});
    box.blocks.push_back(Block{inside});
    Paragraph p;
    p.runs.push_back(TextRun{{}, {Text{"본문"}, picture, box}});
    document.sections[0].blocks.push_back(Block{p});
    return document;
}

TEST(ObjectPlacement, EveryWriterGivesThePlacementBack) {
    // What all three formats can say: frames on both axes, an offset at the start, an
    // alignment elsewhere, each wrap.
    const Placement common[] = {
        placement({AnchorFrame::paper, AnchorAlign::start, 19600},
                  {AnchorFrame::paper, AnchorAlign::start, 19169}, TextWrap::inFrontOfText),
        placement({AnchorFrame::page, AnchorAlign::end, 0},
                  {AnchorFrame::paragraph, AnchorAlign::start, -1200}, TextWrap::behindText),
        placement({AnchorFrame::column, AnchorAlign::center, 0},
                  {AnchorFrame::page, AnchorAlign::end, 0}, TextWrap::square),
        placement({AnchorFrame::column, AnchorAlign::start, 500},
                  {AnchorFrame::paragraph, AnchorAlign::start, 0}, TextWrap::topAndBottom),
    };
    for (DocumentFormat format :
         {DocumentFormat::hwp, DocumentFormat::hwpx, DocumentFormat::docx}) {
        for (std::size_t i = 0; i < std::size(common); ++i) {
            const Placement& forBox = common[(i + 1) % std::size(common)];
            const Document back =
                readDocumentBytes(documentBytes(floatingObjects(common[i], forBox), format));
            const auto picture = firstObject<Picture>(back);
            const auto box = firstObject<Shape>(back);
            ASSERT_TRUE(picture && box) << formatName(format);
            EXPECT_FALSE(picture->inlineWithText) << formatName(format);
            EXPECT_EQ(picture->placement, common[i]) << formatName(format) << " picture " << i;
            EXPECT_EQ(box->placement, forBox) << formatName(format) << " box " << i;
        }
    }
    // The Korean formats also place from the paragraph across, and keep an offset beside an
    // alignment.
    const Placement korean =
        placement({AnchorFrame::paragraph, AnchorAlign::outside, 300},
                  {AnchorFrame::page, AnchorAlign::center, 150}, TextWrap::square);
    for (DocumentFormat format : {DocumentFormat::hwp, DocumentFormat::hwpx}) {
        const Document back =
            readDocumentBytes(documentBytes(floatingObjects(korean, korean), format));
        EXPECT_EQ(firstObject<Picture>(back)->placement, korean) << formatName(format);
        EXPECT_EQ(firstObject<Shape>(back)->placement, korean) << formatName(format);
    }
}

pugi::xml_document docxBody(const Document& document) {
    const std::string bytes = documentBytes(document, DocumentFormat::docx);
    ZipReader zip(bytes);
    pugi::xml_document xml;
    EXPECT_TRUE(xml.load_string(zip.read("word/document.xml").c_str()));
    return xml;
}

std::vector<pugi::xml_node> drawings(const pugi::xml_document& xml) {
    std::vector<pugi::xml_node> out;
    for (const auto& hit : xml.select_nodes("//w:drawing"))
        out.push_back(hit.node().first_child());
    return out;
}

TEST(ObjectPlacement, DocxAnchorsFloatingObjectsWhereTheSourcePutThem) {
    const Placement inFront =
        placement({AnchorFrame::paper, AnchorAlign::start, 19600},
                  {AnchorFrame::page, AnchorAlign::end, 4000}, TextWrap::inFrontOfText);
    const Placement behind =
        placement({AnchorFrame::paragraph, AnchorAlign::center, 0},
                  {AnchorFrame::paragraph, AnchorAlign::start, -720}, TextWrap::behindText);
    const pugi::xml_document xml = docxBody(floatingObjects(inFront, behind));
    const auto frames = drawings(xml);
    ASSERT_EQ(frames.size(), 2u);

    const pugi::xml_node picture = frames[0];
    EXPECT_STREQ(picture.name(), "wp:anchor");
    EXPECT_STREQ(picture.attribute("behindDoc").value(), "0");
    const pugi::xml_node h = picture.child("wp:positionH");
    EXPECT_STREQ(h.attribute("relativeFrom").value(), "page");  // Word's page is the sheet
    EXPECT_EQ(h.child("wp:posOffset").text().as_llong(), 19600LL * 127);
    const pugi::xml_node v = picture.child("wp:positionV");
    EXPECT_STREQ(v.attribute("relativeFrom").value(), "margin");
    EXPECT_STREQ(v.child("wp:align").text().get(), "bottom");
    EXPECT_FALSE(v.child("wp:posOffset"));
    EXPECT_EQ(picture.child("wp:extent").attribute("cx").as_llong(), 7200LL * 127);
    EXPECT_EQ(picture.child("wp:extent").attribute("cy").as_llong(), 3600LL * 127);
    EXPECT_TRUE(picture.child("wp:wrapNone"));
    // Word's schema puts the frame's children in this order.
    std::vector<std::string> order;
    for (const pugi::xml_node child : picture.children())
        order.push_back(child.name());
    EXPECT_EQ(order, (std::vector<std::string>{"wp:simplePos", "wp:positionH", "wp:positionV",
                                               "wp:extent", "wp:effectExtent", "wp:wrapNone",
                                               "wp:docPr", "wp:cNvGraphicFramePr", "a:graphic"}));

    const pugi::xml_node box = frames[1];
    EXPECT_STREQ(box.name(), "wp:anchor");
    EXPECT_STREQ(box.attribute("behindDoc").value(), "1");
    EXPECT_STREQ(box.child("wp:positionH").attribute("relativeFrom").value(), "column");
    EXPECT_STREQ(box.child("wp:positionH").child("wp:align").text().get(), "center");
    EXPECT_STREQ(box.child("wp:positionV").attribute("relativeFrom").value(), "paragraph");
    EXPECT_EQ(box.child("wp:positionV").child("wp:posOffset").text().as_llong(), -720LL * 127);
    const auto text = box.select_node(".//wps:wsp/wps:txbx/w:txbxContent//w:t");
    ASSERT_TRUE(text);
    EXPECT_STREQ(text.node().text().get(), "상자 안");
    EXPECT_FALSE(xml.select_node("//w:pict"));  // not also written as VML
    // Distinct drawings get distinct ids.
    EXPECT_STRNE(picture.child("wp:docPr").attribute("id").value(),
                 box.child("wp:docPr").attribute("id").value());
}

TEST(ObjectPlacement, DocxWrapsAndInlineObjects) {
    const Placement square = placement({AnchorFrame::column}, {}, TextWrap::square);
    const Placement topAndBottom = placement({AnchorFrame::column}, {}, TextWrap::topAndBottom);
    const pugi::xml_document xml = docxBody(floatingObjects(square, topAndBottom));
    const auto frames = drawings(xml);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_STREQ(frames[0].child("wp:wrapSquare").attribute("wrapText").value(), "bothSides");
    EXPECT_TRUE(frames[1].child("wp:wrapTopAndBottom"));

    // Objects the source treats as characters stay in the line, whatever placement they carry.
    Document inlined = floatingObjects(square, square);
    for (Inline& item :
         std::get<Paragraph>(inlined.sections[0].blocks[0].content).runs[0].content) {
        if (auto* p = std::get_if<Picture>(&item)) p->inlineWithText = true;
        if (auto* s = std::get_if<Shape>(&item)) s->inlineWithText = true;
    }
    const pugi::xml_document inlineXml = docxBody(inlined);
    const auto inlineFrames = drawings(inlineXml);
    ASSERT_EQ(inlineFrames.size(), 2u);
    for (const pugi::xml_node frame : inlineFrames) {
        EXPECT_STREQ(frame.name(), "wp:inline");
        EXPECT_FALSE(frame.child("wp:positionH"));
        EXPECT_FALSE(frame.child("wp:wrapSquare"));
        EXPECT_TRUE(frame.child("wp:extent"));
    }
}

}  // namespace
}  // namespace tavrino::docs
