#pragma once
// Korean particles that depend on the sound before them: 은 after a syllable that ends in a
// consonant (압축은), 는 after one that ends in a vowel (자르기는). Words that end in Latin
// letters or digits ("PDF", "a.png") are read aloud with a final vowel in nearly every case,
// so they take the vowel form.

#include <string>
#include <string_view>

namespace tavrino {

// The word followed by its topic particle: "압축" → "압축은", "자르기" → "자르기는".
std::string withTopicParticle(std::string_view word);

}  // namespace tavrino
