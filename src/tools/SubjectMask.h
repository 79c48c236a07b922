#pragma once
// From the network's foreground likelihoods to the cut-out's alpha: which blobs are
// subjects, whether there is any subject at all, and the soft mask at the picture's size.
// Each blob is judged on its own confidence, never against the strongest one, so a small dog
// beside two people survives.

#include <cstdint>
#include <vector>

#include "convert/ConvertError.h"
#include "platform/SaliencyNet.h"

namespace tavrino {

// The picture shows nothing to cut out: "사진에서 대상(사람·물건)을 찾지 못함".
class NoSubjectError : public ConvertError {
  public:
    NoSubjectError();
};

struct SubjectRules {
    float foreground = 0.5f;     // a cell at or above this is foreground
    float confidence = 0.7f;     // a blob's mean likelihood must reach this
    double smallest = 0.0008;    // a blob's share of the grid must reach this
    double mostOfBorder = 0.45;  // a blob over this share of the border cells is background
    int softEdge = 3;            // cells beyond a subject whose likelihood is kept as alpha
};

// One connected foreground blob (4-neighbour cells) of the grid.
struct Blob {
    int cells = 0;
    int borderCells = 0;
    float meanLikelihood = 0;
    bool subject = false;
};

struct SubjectMask {
    SaliencyMap alpha;        // 0…1 on the network's grid, 0 away from every subject
    std::vector<Blob> blobs;  // every blob, subjects marked
};

// Throws NoSubjectError when no blob passes as a subject.
SubjectMask subjectMask(const SaliencyMap& likelihoods, const SubjectRules& rules = {});

// The grid's alpha stretched to width × height by bilinear interpolation (cell centres at
// ((x + 0.5) · width / gridWidth)), as 8-bit values, row by row.
std::vector<std::uint8_t> alphaAtSize(const SaliencyMap& alpha, int width, int height);

}  // namespace tavrino
