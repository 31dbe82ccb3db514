// The remembered sign-in with no keyring, one that answers and one that hangs (LUMENPANE_TEST_KEYRING): the password
// rests in the keyring only when it answers, and comes back as written every time.
#include "TestSupport.h"
#include "platform/Keyring.h"
#include "session/CredentialStore.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

namespace {
const QString Password = CredentialStore::Password;

// What the store reads, once it has answered.
QString readBack(CredentialStore& store)
{
    std::optional<QString> read;
    QObject context;
    store.GetStringSetting(Password, &context, [&](const QString& text) { read = text; });
    return QTest::qWaitFor([&] { return read.has_value(); }, 10000) ? *read : "(no answer)";
}
} // namespace

class CredentialStoreTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    const bool keyringAnswers = qgetenv("LUMENPANE_TEST_KEYRING") == "answers";
    QSettings file{"Quillmoor", "Lumenpane"};

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("LUMENPANE_TEST_KEYRING")) { // and never the user's own keyring
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
            qunsetenv("DISPLAY");
        }
    }

    // In order: when the earlier version's password is read, the keyring still holds the older one written before.
    void passwordRestsInTheKeyring_data()
    {
        QTest::addColumn<QString>("earlier"); // left in the file by an earlier version
        QTest::addColumn<QString>("text");
        QTest::newRow("blanks, quotes, separators, non-ASCII")
            << QString() << QString::fromUtf8("  it's a=b;c,d&e#f%g\\h\"i p\xc3\xa4ss\xe5\xaf\x86  ");
        QTest::newRow("an earlier version's moves") << QString("cobol'59") << QString("n\u20acw");
    }
    void passwordRestsInTheKeyring()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, text);
        CredentialStore store;
        if (!earlier.isNull()) {
            file.setValue(Password, earlier);
            QCOMPARE(readBack(store), earlier);
        }
        store.SaveStringSetting(Password, text);
        QCOMPARE(store.GetStringSettingAtOnce(Password), text); // while the keyring has yet to confirm it, too
        QTRY_VERIFY_WITH_TIMEOUT(!store.isWriting(), 10000);
        QCOMPARE(readBack(store), text);
        file.sync();
        QCOMPARE(file.value(Password), keyringAnswers ? QVariant() : QVariant(text));
        Keyring keyring("Lumenpane");
        QString inKeyring;
        keyring.read(Password, this, [&](const std::optional<QString>& read) { inKeyring = read.value_or("(none)"); });
        QTRY_VERIFY_WITH_TIMEOUT(!inKeyring.isEmpty(), 10000);
        QCOMPARE(inKeyring, keyringAnswers ? text : "(none)");
        QFile maps("/proc/self/maps"); // without a bus, the keyring library is never loaded
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QCOMPARE(maps.readAll().contains("libsecret"), !qEnvironmentVariableIsEmpty("LUMENPANE_TEST_KEYRING"));
    }

    // A password whose write the keyring has not confirmed when the program ends is kept in the file. A keyring
    // that did not answer in time is not asked again until it has: the next password goes to the file at once.
    void noPasswordIsLost()
    {
        {
            CredentialStore ending;
            ending.SaveStringSetting(Password, "at the end");
        }
        file.sync();
        QCOMPARE(file.value(Password), QVariant("at the end"));
        CredentialStore store;
        store.SaveStringSetting(Password, "first");
        QTRY_VERIFY_WITH_TIMEOUT(!store.isWriting(), 10000);
        store.SaveStringSetting(Password, "second");
        QCOMPARE(store.isWriting(), keyringAnswers);
    }
};

QTEST_GUILESS_MAIN(CredentialStoreTest)
#include "tst_credentialstore.moc"
