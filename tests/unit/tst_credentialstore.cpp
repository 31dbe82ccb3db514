#include "TestSupport.h"
#include "platform/Keyring.h"
#include "platform/SettingsStore.h"
#include "session/CredentialStore.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

using namespace CredentialStore;

// Runs three ways: with no D-Bus session, and inside tests/support/keyring-session.sh with a keyring that
// answers or one that hangs (LUMENPANE_TEST_KEYRING). The password rests in the keyring only when it answers,
// and comes back as written every time.
class CredentialStoreTest : public QObject {
    Q_OBJECT
    TempSettings settings;
    const bool keyringAnswers = qgetenv("LUMENPANE_TEST_KEYRING") == "answers";

    static QVariant inFile(const QString& name) { return QSettings("Quillmoor", "Lumenpane").value(name); }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
        if (qEnvironmentVariableIsEmpty("LUMENPANE_TEST_KEYRING")) { // and never the user's own keyring
            qunsetenv("DBUS_SESSION_BUS_ADDRESS");
            qunsetenv("DISPLAY");
        }
    }

    void missingFileAndValueReadEmpty()
    {
        QCOMPARE(SettingsStore::fileName(), settings.path() + "/Quillmoor/Lumenpane.conf");
        QVERIFY(!QFile::exists(SettingsStore::fileName()));
        QCOMPARE(GetStringSetting(Login), QString());
        SaveStringSetting(Login, "x");
        QCOMPARE(GetStringSetting(Password), QString());
        QSettings("Quillmoor", "Lumenpane").setValue(Login, QStringList{"a", "b"}); // not a text
        QCOMPARE(GetStringSetting(Login), QString());
    }

    // The rows run in order: when the earlier version's password is read, the keyring still holds the one
    // written before it, which is older.
    void passwordRestsInTheKeyring_data()
    {
        QTest::addColumn<QString>("earlier"); // left in the file by an earlier version
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QString() << "secret";
        QTest::newRow("blanks, quotes, separators, non-ASCII")
            << QString() << QString::fromUtf8("  it's a=b;c,d&e#f%g\\h\"i p\xc3\xa4ss\xe5\xaf\x86  ");
        QTest::newRow("an earlier version's moves") << "cobol'59"
                                                    << "n\u20acw";
    }
    void passwordRestsInTheKeyring()
    {
        QFETCH(QString, earlier);
        QFETCH(QString, text);
        if (!earlier.isNull()) {
            QSettings("Quillmoor", "Lumenpane").setValue(Password, earlier);
            QCOMPARE(GetStringSetting(Password), earlier);
        }
        SaveStringSetting(Password, text);
        QCOMPARE(GetStringSetting(Password), text);
        QCOMPARE(inFile(Password), keyringAnswers ? QVariant() : QVariant(text));
        QCOMPARE(Keyring::read("Lumenpane", Password).value_or("(none)"), keyringAnswers ? text : "(none)");
    }

    // The file may hold a password: only its owner may read it, also when it was readable by others before.
    void onlyTheOwnerMayReadIt()
    {
        const QString file = SettingsStore::fileName();
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
        SaveStringSetting(Login, "someone@example.com");
        QCOMPARE(inFile(Login), QVariant("someone@example.com"));
        QCOMPARE(int(QFile::permissions(file)),
                 int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser));
        QVERIFY(!(QFile::permissions(settings.path() + "/Quillmoor") &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther)));
    }
};

QTEST_GUILESS_MAIN(CredentialStoreTest)
#include "tst_credentialstore.moc"
