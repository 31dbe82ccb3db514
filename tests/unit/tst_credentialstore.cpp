#include "TestSupport.h"
#include "platform/SettingsStore.h"
#include "session/CredentialStore.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

using namespace CredentialStore;

class CredentialStoreTest : public QObject {
    Q_OBJECT
    TempSettings settings;

private slots:
    void initTestCase() {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }

    void missingFileAndValueReadEmpty() {
        QCOMPARE(SettingsStore::fileName(), settings.path() + "/Quillmoor/Lumenpane.conf");
        QVERIFY(!QFile::exists(SettingsStore::fileName()));
        QCOMPARE(GetStringSetting(Login), QString());
        SaveStringSetting(Login, "x");
        QCOMPARE(GetStringSetting(Password), QString());
        QSettings("Quillmoor", "Lumenpane").setValue(Login, QStringList{"a", "b"}); // not a text
        QCOMPARE(GetStringSetting(Login), QString());
    }

    // Blanks, quotes, the file's own separators and non-ASCII text come back as stored.
    void roundTrip() {
        const QString text = QString::fromUtf8("  it's a=b;c,d&e#f%g\\h\"i p\xc3\xa4ss\xe5\xaf\x86  ");
        SaveStringSetting(Password, text);
        QCOMPARE(GetStringSetting(Password), text);
    }

    // It holds a password: only its owner may read it, also when it was readable by others before.
    void onlyTheOwnerMayReadIt() {
        const QString file = SettingsStore::fileName();
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
        SaveStringSetting(Login, "someone@example.com");
        QCOMPARE(int(QFile::permissions(file)),
                 int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser));
        QVERIFY(!(QFile::permissions(settings.path() + "/Quillmoor") &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther)));
    }
};

QTEST_GUILESS_MAIN(CredentialStoreTest)
#include "tst_credentialstore.moc"
