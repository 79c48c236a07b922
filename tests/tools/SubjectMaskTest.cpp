// Which blobs of the network's likelihoods count as subjects, when a picture is refused,
// and how the grid's alpha is stretched to the picture.

#include <gtest/gtest.h>

#include "tools/SubjectMask.h"

using namespace tavrino;

namespace {

constexpr int side = 100;

SaliencyMap emptyGrid(float background = 0.f) {
    return {side, side, std::vector<float>(side * side, background)};
}

void fill(SaliencyMap& map, int x0, int y0, int x1, int y1, float value) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x)
            map.values[y * side + x] = value;
    }
}

int subjects(const SubjectMask& mask) {
    int count = 0;
    for (const Blob& blob : mask.blobs)
        count += blob.subject;
    return count;
}

}  // namespace

TEST(SubjectMask, KeepsEveryConfidentBlobNotOnlyTheStrongest) {
    SaliencyMap map = emptyGrid(0.02f);
    fill(map, 10, 20, 40, 90, 0.99f);  // a person, very sure
    fill(map, 50, 20, 75, 90, 0.97f);  // a second person
    fill(map, 82, 70, 92, 80, 0.78f);  // a small dog the network is less sure of
    const SubjectMask mask = subjectMask(map);
    EXPECT_EQ(subjects(mask), 3);
    EXPECT_FLOAT_EQ(mask.alpha.at(85, 75), 0.78f);
    EXPECT_FLOAT_EQ(mask.alpha.at(20, 50), 0.99f);
    // Far from every subject the faint likelihood is cleared.
    EXPECT_EQ(mask.alpha.at(45, 5), 0.f);
}

TEST(SubjectMask, DropsDoubtfulTinyAndBorderBlobs) {
    SaliencyMap map = emptyGrid();
    fill(map, 30, 30, 60, 60, 0.95f);  // the subject
    fill(map, 70, 10, 90, 30, 0.55f);  // barely foreground: doubtful
    fill(map, 5, 80, 7, 82, 0.99f);    // four cells: noise
    const SubjectMask mask = subjectMask(map);
    EXPECT_EQ(subjects(mask), 1);
    EXPECT_EQ(mask.alpha.at(80, 20), 0.f);
    EXPECT_EQ(mask.alpha.at(6, 81), 0.f);
    EXPECT_GT(mask.alpha.at(45, 45), 0.9f);
}

TEST(SubjectMask, KeepsTheSoftEdgeNextToASubjectOnly) {
    SaliencyMap map = emptyGrid(0.3f);
    fill(map, 40, 40, 60, 60, 0.9f);
    const SubjectMask mask = subjectMask(map);
    EXPECT_FLOAT_EQ(mask.alpha.at(38, 50), 0.3f);  // two cells out: edge
    EXPECT_EQ(mask.alpha.at(30, 50), 0.f);         // ten cells out: background
}

TEST(SubjectMask, RefusesPicturesWithoutASubject) {
    // A plain field: nothing is foreground.
    EXPECT_THROW(subjectMask(emptyGrid(0.1f)), NoSubjectError);
    // A texture the network lights up everywhere: the "subject" is the whole border.
    EXPECT_THROW(subjectMask(emptyGrid(0.9f)), NoSubjectError);
    // Foreground along three sides of the frame is background, not a subject.
    SaliencyMap frame = emptyGrid();
    fill(frame, 0, 0, side, 10, 0.95f);
    fill(frame, 0, 0, 10, side, 0.95f);
    fill(frame, 90, 0, side, side, 0.95f);
    EXPECT_THROW(subjectMask(frame), NoSubjectError);
    // A subject standing on the bottom edge (a person cut off at the waist) is kept.
    SaliencyMap person = emptyGrid();
    fill(person, 30, 20, 70, side, 0.95f);
    EXPECT_EQ(subjects(subjectMask(person)), 1);
    try {
        subjectMask(emptyGrid());
        FAIL() << "an empty grid passed";
    } catch (const NoSubjectError& error) {
        EXPECT_STREQ(error.what(), "사진에서 대상(사람·물건)을 찾지 못함");
    }
}

TEST(SubjectMask, StretchesTheAlphaToThePicture) {
    SaliencyMap map{2, 2, {0.f, 1.f, 0.f, 1.f}};
    const std::vector<std::uint8_t> alpha = alphaAtSize(map, 8, 3);
    ASSERT_EQ(alpha.size(), 24u);
    // The outer columns sit beyond the cell centres and take their cell's value.
    EXPECT_EQ(alpha[0], 0);
    EXPECT_EQ(alpha[7], 255);
    EXPECT_EQ(alpha[2 * 8 + 7], 255);
    // Between the centres the value rises monotonically.
    for (int x = 1; x < 8; ++x)
        EXPECT_GE(alpha[x], alpha[x - 1]);
    EXPECT_GT(alpha[4], 0);
    EXPECT_LT(alpha[3], 255);
    // A one-cell grid fills the whole picture.
    EXPECT_EQ(alphaAtSize(SaliencyMap{1, 1, {0.5f}}, 5, 4), std::vector<std::uint8_t>(20, 128));
}
