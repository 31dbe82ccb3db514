#pragma once

#include "session/HandOver.h"

#include <QObject>

class QProcess;

// The report viewer as a child process, spoken to over its standard input and output. It is started before it
// is needed (so that its web engine is warm when the user signs in), and never outlives this program: closing
// its input tells it to end, and what does not end in time is killed.
class ViewerProcess : public QObject {
    Q_OBJECT
public:
    explicit ViewerProcess(QObject* parent = nullptr);
    ~ViewerProcess() override;

    // Starts the viewer unless it runs already.
    void start();
    bool isRunning() const;
    qint64 processId() const;
    // Sends a message, starting the viewer first when it does not run.
    void send(const HandOver::Message& message);
    // Asks the viewer to end and waits for it a little; kills it after that.
    void stop();

    // The viewer program: LUMENPANE_VIEWER_BIN when set, else lumenpane-viewer next to this program.
    static QString program();

signals:
    void received(const HandOver::Message& message);
    // The viewer process ended, whichever way.
    void ended();

private:
    QProcess* m_process = nullptr;
    HandOver::LineReader m_reader;
};
