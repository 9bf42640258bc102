#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "platform/qt/profile_storage.h"
#include "qt/window_helpers.h"

using namespace korvane::qt;
using namespace korvane::qt::testing;

// The profile storage reads what a hand edit or another program left in the file defensively:
// a number the game did not store reads as the default, and a text as it stands, also when the
// file holds it as a list.
class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void storedValuesReadDefensively_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text"); // as a text
        QTest::newRow("a number") << QByteArray("Value=-4") << -4 << "-4";
        QTest::newRow("spaces") << QByteArray("Value= 4 ") << 4 << "4";
        QTest::newRow("missing") << QByteArray("Other=2") << 7 << "none";
        QTest::newRow("not a number") << QByteArray("Value=cube") << 7 << "cube";
        QTest::newRow("not whole") << QByteArray("Value=2.5") << 7 << "2.5";
        QTest::newRow("too big") << QByteArray("Value=99999999999") << 7 << "99999999999";
        QTest::newRow("a list") << QByteArray("Value=12,30,-1,") << 7 << "12,30,-1,";
        QTest::newRow("empty") << QByteArray("Value=") << 7 << "";
    }
    void storedValuesReadDefensively() {
        QFETCH(QByteArray, stored);
        QFETCH(int, value);
        QFETCH(QString, text);
        clearGameSettings();
        const QString name = gameSettings().fileName();
        QDir().mkpath(QFileInfo(name).absolutePath());
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Config]\n" + stored + "\n");
        file.close();
        ProfileStorage storage;
        QCOMPARE(storage.readInt("Config", "Value", 7), value);
        QCOMPARE(storage.readString("Config", "Value", "none"), text.toStdString());
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
