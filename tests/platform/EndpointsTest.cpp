#include "Endpoints.h"
#include "EnvironmentVariable.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

TEST(Endpoints, SettingsFromTheEnvironmentReplaceTheBuiltInOnes)
{
    struct { const char *variable; QString (*read)(); QString builtIn; } const settings[] = {
        {"BRIVET_ARXIV_API_URL", &Endpoints::arxivQueryURL, Endpoints::defaultArxivQueryURL()},
        {"BRIVET_ADS_API_URL", &Endpoints::adsQueryURL, Endpoints::defaultAdsQueryURL()},
        {"BRIVET_ADS_TOKEN", &Endpoints::adsToken, Endpoints::defaultAdsToken()},
    };
    for (const auto &setting : settings) {
        SCOPED_TRACE(setting.variable);
        EnvironmentVariable variable(setting.variable, std::nullopt);
        EXPECT_EQ(setting.read(), setting.builtIn);
        variable.set(""); // empty counts as unset
        EXPECT_EQ(setting.read(), setting.builtIn);
        variable.set("http://127.0.0.1:1/own");
        EXPECT_EQ(setting.read(), "http://127.0.0.1:1/own");
    }
}
