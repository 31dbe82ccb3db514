#pragma once

#include "SessionInfo.h"
#include "platform/ActivationToken.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The messages between lumenpane and its report viewer, one JSON object per line over the viewer's standard
// input and output: a pipe only the two processes hold, so the session never shows on a command line or in an
// environment that other programs can read.
namespace HandOver {

enum class Kind {
    // lumenpane → viewer
    Open, // show a main window on this session (loadSites: fill the site menu first)
    Show, // bring the main window forward, a fresh one if it was closed (Open and Show: with the activation token
          // of the user's action, when there is one)
    Quit, // end now
    // viewer → lumenpane
    Ready,      // the web engine is warm
    Shown,      // the main window is on screen
    Period,     // the report period changed (session.from, session.to)
    Exit,       // the user chose Exit in the main window
    MainClosed, // the user closed the main window
};

struct Message {
    Kind kind = Kind::Quit;
    SessionInfo session;
    bool loadSites = false;
    ActivationToken activation = {};

    bool operator==(const Message&) const = default;
};

QByteArray encode(const Message& message);
// Nothing for a line that is not a message of a known kind.
std::optional<Message> decode(const QByteArray& line);

// Splits what arrives on the pipe into lines and decodes them; lines that are no message are dropped, and so
// is a line that grows past the limit without ending.
class LineReader {
public:
    static constexpr qsizetype MaxLineBytes = 1 << 20;
    QList<Message> feed(const QByteArray& chunk);

private:
    QByteArray m_pending;
    bool m_skipping = false;
};

} // namespace HandOver
