#pragma once

#include <QDate>
#include <QString>

// The program-wide state shared by the windows: the report period, the start address, the codec
// alphabet and the encoded sign-in, the build number and the two service bases.
struct Session {
    static inline QDate FromDate;
    static inline QDate ToDate;
    static inline QString StartUrl;
    static inline QString Base64Alphabet;
    static inline QString EncodedEmail;
    static inline QString EncodedPassword;

    static constexpr int BuildNumber = LUMENPANE_BUILD_NUMBER;

    // Built in, overridden for one run by LUMENPANE_API_BASE and LUMENPANE_REPORT_BASE.
    static QString ApiServerBase();
    static QString ReportServerBase();

    static void reset();
};
