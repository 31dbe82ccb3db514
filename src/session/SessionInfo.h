#pragma once

#include <QDate>
#include <QString>

// What a signed-in session needs to show reports: handed from the sign-in to the report viewer.
struct SessionInfo {
    QString startUrl;           // the start page that signs the browser in
    QString email;              // the signed-in entries, for the first site list
    QString password;
    QString rememberedLogin;    // the remembered sign-in, for "Refresh List"
    QString rememberedPassword;
    QDate from;                 // the report period
    QDate to;

    bool operator==(const SessionInfo&) const = default;
};
