#include "TestSupport.h"

#include "platform/XmlDocument.h"
#include "session/CredentialStore.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMetaMethod>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QWidget>

TempSettings::TempSettings()
{
    qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
}

MessageRecorder::MessageRecorder()
{
    MessageBox::setTestHandler([this](const MessageBox::Shown& box) {
        shown.append(box);
        if (onShown)
            onShown(box);
    });
}

MessageRecorder::~MessageRecorder() { MessageBox::setTestHandler(nullptr); }

LocalService::LocalService() : m_server(std::make_unique<SimServer>())
{
    m_server->loadDefaultAccounts();
    m_server->listenLocal(0);
    qputenv("LUMENPANE_API_BASE", m_server->baseUrl().toUtf8());
    qputenv("LUMENPANE_REPORT_BASE", m_server->baseUrl().toUtf8());
}

QStringList LocalService::apiRequests() const
{
    QStringList api;
    for (const QString& line : m_server->requestLog())
        if (line.contains(QLatin1String("/v3/rsapi.asp")))
            api.append(line);
    return api;
}

void saveShot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMENPANE_TEST_SHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QStringList boxLines(const MessageRecorder& recorder)
{
    static const char* const icons[] = {"None", "Information", "Critical"};
    QStringList lines;
    for (const MessageBox::Shown& box : recorder.shown)
        lines << box.title + QLatin1String(" | ") + QLatin1String(icons[int(box.icon)]) + QLatin1String(" | ") +
                     box.text;
    return lines;
}

ServiceAndBoxes::ServiceAndBoxes()
{
    XmlDocument::setTransferTimeoutMs(30000);
}

void ServiceAndBoxes::answer(int status, const QByteArray& body)
{
    if (status == -1) {
        XmlDocument::setTransferTimeoutMs(500);
        service.server().setFault(SimServer::Fault::Hang);
    } else if (status != 0) {
        service.server().setCannedAnswer(body, status);
    }
}

SignalLog::SignalLog(QObject* sender) : QObject(sender)
{
    const QMetaObject* meta = sender->metaObject();
    const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("record()"));
    const QMetaObject& base = sender->isWidgetType() ? QWidget::staticMetaObject : QObject::staticMetaObject;
    for (int i = base.methodCount(); i < meta->methodCount(); ++i)
        if (meta->method(i).methodType() == QMetaMethod::Signal)
            connect(sender, meta->method(i), this, slot);
}

void SignalLog::record()
{
    names << QString::fromLatin1(sender()->metaObject()->method(senderSignalIndex()).name());
}

QStringList storedSignIn()
{
    return {CredentialStore::GetStringSetting(CredentialStore::Login),
            CredentialStore::GetStringSetting(CredentialStore::Password)};
}

QStringList clippedCaptions(const QWidget* window)
{
    const auto shown = [](QString caption) { // access keys marked with "&", "&&" for one ampersand
        return caption.replace(QLatin1String("&&"), QLatin1String("\x01"))
            .remove(QLatin1Char('&'))
            .replace(QLatin1Char('\x01'), QLatin1Char('&'));
    };
    QStringList clipped;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        const QFontMetrics fm = label->fontMetrics();
        const QString text = label->text();
        const bool fits = label->wordWrap()
                              ? fm.boundingRect(QRect(0, 0, label->width(), 100000), Qt::TextWordWrap, text).height() <=
                                    label->height()
                              : fm.horizontalAdvance(text) <= label->width() && fm.height() <= label->height();
        if (!text.isEmpty() && !fits)
            clipped << text;
    }
    for (const QPushButton* button : window->findChildren<QPushButton*>())
        if (button->fontMetrics().horizontalAdvance(shown(button->text())) + 8 > button->width())
            clipped << button->text();
    for (const QGroupBox* frame : window->findChildren<QGroupBox*>())
        if (frame->fontMetrics().horizontalAdvance(shown(frame->title())) + 16 >= frame->width())
            clipped << frame->title();
    for (const QComboBox* list : window->findChildren<QComboBox*>())
        if (list->sizeHint().width() > list->width())
            clipped << list->currentText();
    return clipped;
}

std::optional<SystemRegistry::Value> FakeRegistry::read(quint32 root, const QString& key, const QString& name,
                                                        int maxBytes)
{
    reads << key + QLatin1Char('|') + name;
    const auto found = values.constFind(key + QLatin1Char('|') + name);
    if (root != LocalMachine || found == values.cend() || found->data.size() > maxBytes)
        return std::nullopt;
    return *found;
}

bool FakeLauncher::start(const QString& path)
{
    started << path;
    return startSucceeds;
}
