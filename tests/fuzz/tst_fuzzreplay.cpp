#include "FuzzEntry.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

// Every seed and every input a fuzzer ever found a fault with, through the
// same entry points the fuzz targets use, so each fault stays mended.
class TestFuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        const QDir base(QStringLiteral(ZRB_FUZZ_DIR));
        for (const char *kind : {"seeds", "findings"}) {
            for (const QString &target : base.entryList({}, QDir::Dirs | QDir::NoDotAndDotDot)) {
                const QDir folder(base.filePath(target + QLatin1Char('/') + QLatin1String(kind)));
                for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
                    QTest::newRow(qPrintable(target + QLatin1Char('/') + QLatin1String(kind) +
                                             QLatin1Char('/') + name))
                        << target << folder.filePath(name);
            }
        }
    }

    void replay()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        const FuzzEntry::Entry entry = FuzzEntry::entryFor(target);
        QVERIFY2(entry, qPrintable(QStringLiteral("no fuzz target named ") + target));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString fault = entry(file.readAll());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
};

ZRB_MODEL_TEST_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
