#pragma once
// Shared set-up for the reader tests: a clean reader state and a helper that
// reads a whole document into its symbols.
#include "html/parse/HtmlReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct ReadSymbol {
    THtmlSymbol sy;
    std::u16string text;
    std::vector<int32_t> positions;
    int headingLevel;
};

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReadState.OnInclude = nullptr;
        ReadState.OnScript = nullptr;
        ReadState.OnProgress = nullptr;
        ReadState.TopCodePage = nullptr;
        ReadState.OnIDAttribute = nullptr;
        ReadState.PreScan = false;
    }

    static std::vector<ReadSymbol> ReadAll(const std::string& document)
    {
        InstallDocument(document);
        std::vector<ReadSymbol> symbols;
        do {
            NextSymbol();
            symbols.push_back({ReadState.Sy, ReadState.LCToken.S(), ReadState.LCToken.I(), ReadState.HeadingLevel});
        } while (ReadState.Sy != EofSym);
        return symbols;
    }

    static std::vector<THtmlSymbol> SymbolsOf(const std::string& document)
    {
        std::vector<THtmlSymbol> out;
        for (const auto& symbol : ReadAll(document))
            out.push_back(symbol.sy);
        return out;
    }

    // The text of every text run, concatenated.
    static std::u16string TextOf(const std::string& document)
    {
        std::u16string out;
        for (const auto& symbol : ReadAll(document))
            if (symbol.sy == TextSym)
                out += symbol.text;
        return out;
    }

    // The attribute of the first tag of the document.
    static TAttribute FirstAttribute(const std::string& tag)
    {
        InstallDocument(tag);
        NextSymbol();
        EXPECT_GE(ReadState.Attributes->Count(), 1u) << tag;
        return ReadState.Attributes->Count() > 0 ? (*ReadState.Attributes)[0] : TAttribute();
    }
};
