#include "SearchError.h"

#include <gtest/gtest.h>

TEST(SearchError, DescriptionsAreTheUserFacingTexts)
{
    EXPECT_EQ(SearchError::parsingError("mismatched tag (line 3, column 2)").description(),
              "Error parsing data: mismatched tag (line 3, column 2)");
    EXPECT_EQ(SearchError::parsingError("").description(), "Error parsing data: ");
    EXPECT_EQ(SearchError::invalidURL().description(), "Invalid URL");
    EXPECT_EQ(SearchError::invalidResponse().description(), "Invalid response received");
    EXPECT_EQ(SearchError::missingData().description(), "Some data is missing from the api's response");
    EXPECT_EQ(SearchError::parsingError("x").kind(), SearchError::Kind::ParsingError);
    EXPECT_EQ(SearchError::parsingError("x").message(), "x");
    EXPECT_EQ(SearchError::missingData().kind(), SearchError::Kind::MissingData);
}

TEST(SearchError, IsCaughtAsABrivetErrorWithItsDescription)
{
    try {
        throw SearchError::invalidResponse();
    } catch (const BrivetError &e) {
        EXPECT_STREQ(e.what(), "Invalid response received");
        return;
    }
    FAIL() << "not caught as BrivetError";
}
