#pragma once

#include <QString>

// Where the search services live, and the ADS access token. The environment
// variables BRIVET_ARXIV_API_URL and BRIVET_ADS_API_URL, when set and not
// empty, replace the two query endpoints (tests and local runs point them at
// a server of their own); BRIVET_ADS_TOKEN replaces the built-in token, since
// every real user needs a token of their own.
class Endpoints {
public:
    static QString arxivQueryURL();
    static QString adsQueryURL();
    static QString adsToken();

    // Fixed web addresses that results point at.
    static QString arxivPdfPrefix() { return QStringLiteral("https://arxiv.org/pdf/"); }
    static QString adsAbstractPagePrefix() { return QStringLiteral("https://ui.adsabs.harvard.edu/abs/"); }

    static QString defaultArxivQueryURL() { return QStringLiteral("https://export.arxiv.org/api/query"); }
    static QString defaultAdsQueryURL() { return QStringLiteral("https://api.adsabs.harvard.edu/v1/search/query"); }
    // The application's own token: 40 letters and digits.
    static QString defaultAdsToken();
};
