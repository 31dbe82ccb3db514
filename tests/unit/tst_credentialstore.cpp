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
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("Quillmoor");
        QCoreApplication::setApplicationName("Lumenpane");
    }

    void missingFileAndValueReadEmpty()
    {
        QVERIFY(!QFile::exists(SettingsStore::fileName()));
        QCOMPARE(GetStringSetting(Login), QString());
        SaveStringSetting(Login, "x");
        QCOMPARE(GetStringSetting(Password), QString());
    }

    void fileIsWhereUsersLookForIt()
    {
        QCOMPARE(SettingsStore::fileName(), settings.path() + "/Quillmoor/Lumenpane.conf");
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("blanks kept") << "  spaced  ";
        QTest::newRow("quote") << "it's";
        QTest::newRow("separators") << "a=b;c,d&e#f%g\\h\"i";
        QTest::newRow("non-ASCII") << QString::fromUtf8("p\xc3\xa4ss\xe5\xaf\x86");
        QTest::newRow("empty") << "";
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        SaveStringSetting(Password, text);
        QCOMPARE(GetStringSetting(Password), text);
    }

    void valuesOfOtherKindsReadEmpty()
    {
        QSettings(QStringLiteral("Quillmoor"), QStringLiteral("Lumenpane")).setValue(Login, QStringList{"a", "b"});
        QCOMPARE(GetStringSetting(Login), QString());
    }

    void onlyTheOwnerMayReadIt()
    {
        const QString file = SettingsStore::fileName();
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
        SaveStringSetting(Login, "someone@example.com");
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                            QFile::WriteOther | QFile::ExeOther;
        QVERIFY(!(QFile::permissions(file) & others));
        QCOMPARE(QFile::permissions(file) & (QFile::ReadOwner | QFile::WriteOwner), QFile::ReadOwner | QFile::WriteOwner);
        const QString folder = settings.path() + "/Quillmoor";
        QVERIFY(!(QFile::permissions(folder) & (QFile::ReadGroup | QFile::ReadOther | QFile::ExeOther)));
    }
};

QTEST_GUILESS_MAIN(CredentialStoreTest)
#include "tst_credentialstore.moc"
