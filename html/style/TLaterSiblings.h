#pragma once
// What the builder learns, reading a document, about each element's later
// siblings and content: facts that ":last-child", ":only-of-type",
// ":nth-last-child()", ":empty" and the like read, but that are unknown when
// the element's style is made. While unknown, such a test fails and the
// element remembers that it was asked; when an answer learned later differs
// from that guess, the builder reads the document a second time, recalling
// what the first reading learned. Elements are known again by the place of
// their start tag and their tag, so the second reading agrees with the tree
// the builder itself made (implied end tags, misnested tags and all).
#include <cstdint>
#include <string>
#include <unordered_map>

#include "html/style/TElementFacts.h"

class TLaterSiblings {
public:
    // Forgets everything: the next reading is a first one.
    void Reset();
    // The next reading recalls what the last one learned.
    void StartSecondReading();
    bool SecondReading() const { return FSecondReading; }
    // A test read a fact that was still unknown, and the truth differs from
    // the guess it made.
    bool GuessedWrong() const { return FGuessedWrong; }

    // Fills in what an earlier reading learned about the element.
    void Recall(TElementFacts& facts) const;
    // An element closed: the places from the end of its children, and its
    // own emptiness (own may be null, children too).
    void Closed(TElementFacts* own, bool hadContent, const TChildRecord* children);

private:
    static uint64_t KeyOf(const TElementFacts& facts);
    void Learn(TElementFacts& facts);

    std::unordered_map<uint64_t, TLaterFacts> FLearned;
    std::unordered_map<uint64_t, TLaterFacts> FKnown;
    bool FSecondReading = false;
    bool FGuessedWrong = false;
};
