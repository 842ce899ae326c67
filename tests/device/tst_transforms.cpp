#include "common/TestSupport.h"

#include "device/TBin8.h"
#include "device/TStrV.h"
#include "device/TTransformFactory.h"
#include "document/CAttributes.h"
#include "document/CComposite.h"
#include "document/CControl.h"

#include <QGuiApplication>
#include <QtTest>

#include <cstdlib>
#include <memory>

namespace {

// One call on a transform: "fromText 12" and the like.
void apply(TTransform &transform, const QString &step)
{
    const QString call = step.section(QLatin1Char(' '), 0, 0);
    const QString argument = step.section(QLatin1Char(' '), 1);
    const float number = std::strtof(argument.toLatin1().constData(), nullptr);
    if (call == QLatin1String("fromByte"))
        transform.fromByte(quint8(argument.toInt()));
    else if (call == QLatin1String("fromText"))
        transform.fromText(argument);
    else if (call == QLatin1String("setText"))
        transform.setText(argument);
    else if (call == QLatin1String("fromInt"))
        transform.fromInt(argument.toInt());
    else if (call == QLatin1String("fromFloat"))
        transform.fromFloat(number);
    else if (call == QLatin1String("fromBytes"))
        transform.fromBytes(argument.toLatin1());
    else if (call == QLatin1String("setDisplay"))
        transform.setDisplay(number);
    else
        QFAIL(qPrintable("no call " + call));
}

// What a transform holds, by the names the conversion table uses.
QString valueOf(const TTransform &transform, const QString &key)
{
    char raw = 0;
    const int rawSize = transform.toBytes(&raw, 1);
    const QMap<QString, QString> values = {
        {"name", transform.name()},
        {"text", QString::fromLatin1(transform.toText().toLatin1().toPercentEncoding(" ?"))},
        {"int", QString::number(transform.toInt())},
        {"byte", QString::number(transform.toByte())},
        {"float", QString::number(double(transform.toFloat()))},
        {"size", QString::number(transform.size())},
        {"raw",
         rawSize == 1 ? QString::number(quint8(raw)) : QStringLiteral("%1 bytes").arg(rawSize)},
        {"display", transform.displayText()}};
    return values.value(key, QStringLiteral("?"));
}

} // namespace

class TestTransforms : public QObject
{
    Q_OBJECT

private slots:
    void conversions_data()
    {
        // A transform of the kind with the attributes ("set=..|format=..|units=..|
        // decimals=.."), after the calls (";" between them), and what it then
        // holds: "key=value" pairs, "|" between them, texts percent-encoded.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("attributes");
        QTest::addColumn<QString>("calls");
        QTest::addColumn<QString>("expected");
        auto row = [](const char *tag, const char *kind, const QString &attributes,
                      const QString &calls, const char *expected) {
            QTest::newRow(tag) << kind << attributes << calls << expected;
        };
        // The factory takes the exact kind names only.
        row("idx8 is a Bin8", "idx8", "", "fromByte 3", "name=Bin8|text=3");
        for (const char *kind : {"StrV", "Bin8", "", "float"})
            row(qPrintable(QStringLiteral("no kind %1").arg(kind)), kind, "", "", "none");

        // Lists map a byte to an entry of the set list and back.
        const QString fot = QStringLiteral("set=F,O,T");
        row("chrL byte 1 is O", "chrL", fot, "fromByte 1", "byte=1|text=O|size=1");
        row("chrL text T is 2", "chrL", fot, "fromText T", "byte=2|text=T");
        row("chrL answer F is 0", "chrL", fot, "fromByte 2;setText F", "byte=0|text=F");
        row("chrL unknown text is 0", "chrL", fot, "fromByte 2;fromText X", "byte=0|text=F");
        row("chrL empty text is 0", "chrL", fot, "fromByte 2;fromText ", "byte=0|text=F");
        row("chrL byte 16 is beyond the table", "chrL", fot, "fromByte 16", "byte=16|text=?");
        row("chrL byte 255", "chrL", fot, "fromByte 255", "byte=255|text=?");
        const QString twenty = QStringLiteral("set=A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T");
        row("chrL sixteenth state fits", "chrL", twenty, "fromText P", "byte=15|text=P");
        row("chrL seventeenth state is cut", "chrL", twenty, "fromText Q", "byte=0|text=A");
        row("chrL list stops at an empty entry", "chrL", "set=U,,M,T", "fromText M",
            "byte=0|text=U");
        const QString wide = QStringLiteral("set=Up,\u20ac,Mute");
        row("chrL keeps first characters", "chrL", wide, "fromText Mute", "byte=2|text=M");
        row("chrL beyond Latin-1 is code 0", "chrL", wide, "fromByte 1", "byte=1|text=%00");
        const QString codes = QStringLiteral("set=0a,1F,ff,1c3,zz");
        row("hexL reads hex codes", "hexL", codes, "fromByte 1", "byte=31|text=%1F|raw=31|size=1");
        row("hexL keeps the low byte", "hexL", codes, "fromByte 3", "byte=195|text=%C3|raw=195");
        row("hexL answer changes nothing", "hexL", codes, "fromByte 3;setText 0a",
            "byte=195|text=%C3");
        row("hexL text changes nothing", "hexL", codes, "fromByte 3;fromText 0a",
            "byte=195|text=%C3");
        row("hexL no code is 0", "hexL", codes, "fromByte 4", "byte=0|text=%00");
        row("hexL byte 16 is beyond the table", "hexL", codes, "fromByte 16", "byte=255|text=?");
        const QString names = QStringLiteral("set=Low,Mid,High,S4,S5,S6,S7,S8,Ninth");
        row("strL text Mid is 1", "strL", names, "fromText Mid", "byte=1|text=Mid|size=1");
        row("strL ninth state is cut", "strL", names, "fromText Ninth", "byte=0|text=Low");
        row("strL byte 7", "strL", names, "fromByte 7", "byte=7|text=S8");
        row("strL byte 8 is beyond the table", "strL", names, "fromByte 8", "byte=8|text=?");
        row("strL answer changes nothing", "strL", names, "fromByte 2;setText Low",
            "byte=2|text=High");

        // bin8 keeps the low byte of what it is given; a text that is no
        // number is 0.
        const char *const bin8[][3] = {{"hex 0x1f", "fromText 0x1f", "31"},
                                       {"decimal 12", "fromText 12", "12"},
                                       {"decimal beyond a byte", "fromText 300", "44"},
                                       {"hex beyond a byte", "fromText 0x1ff", "255"},
                                       {"upper-case X is not hex", "fromText 0X1f", "0"},
                                       {"bare prefix", "fromText 0x", "0"},
                                       {"letters", "fromText abc", "0"},
                                       {"empty", "fromText ", "0"},
                                       {"answer in hex", "setText 0x1f", "31"},
                                       {"answer of letters", "setText abc", "0"},
                                       {"number -1", "fromInt -1", "255"},
                                       {"number 263", "fromInt 263", "7"}};
        for (const auto &entry : bin8)
            row(qPrintable(QStringLiteral("bin8 %1").arg(entry[0])), "bin8", "",
                QStringLiteral("fromByte 99;") + entry[1],
                qPrintable(QStringLiteral("int=%1|text=%1|raw=%1|size=1").arg(entry[2])));
        row("bin8 bytes", "bin8", "", QString::fromLatin1("fromBytes \x81"), "int=129|raw=129");

        // grpV sends a level in dB as a hex code, 2 per dB from -60 dB (0) to
        // +12 dB (0x90); the DSP answers with the code.
        const char *const levels[][3] = {
            {"+12 is the top", "fromFloat 12", "90"},
            {"+20 clamps to the top", "fromFloat 20", "90"},
            {"-70 clamps to the bottom", "fromFloat -70", "0"},
            {"-60 is the bottom", "fromFloat -60", "0"},
            {"-10.5 sends -10", "fromFloat -10.5", "64"},
            {"0 dB", "fromFloat 0", "78"},
            {"-0.9 truncates toward zero", "fromFloat -0.9", "78"},
            {"huge", "fromFloat 1e30", "90"},
            {"-infinity", "fromFloat -inf", "0"},
            {"nan changes nothing", "fromFloat 12;fromFloat nan", "90"},
            {"text -10", "fromText -10", "64"},
            {"text 100 clamps", "fromText 100", "90"},
            {"text -99999999999 clamps", "fromText -99999999999", "0"},
            {"byte 0", "fromByte 0", "78"},
            {"byte 12", "fromByte 12", "90"},
            {"byte 255 caps", "fromByte 255", "90"}};
        for (const auto &entry : levels) {
            const QString code = QString::fromLatin1(entry[2]);
            row(qPrintable(QStringLiteral("grpV %1").arg(entry[0])), "grpV", "", entry[1],
                qPrintable(QStringLiteral("text=%1|size=%2").arg(code).arg(code.size())));
        }
        row("grpV answer 64 is -10 dB", "grpV", "", "setText 64",
            "text=64|float=-10|int=-10|byte=118");
        row("grpV answer 65 is -9.5 dB", "grpV", "", "setText 65", "float=-9.5|int=-9|byte=118");
        row("grpV answer 78 is 0 dB", "grpV", "", "setText 78", "float=0|int=0|byte=0");
        row("grpV answer 90 is +12 dB", "grpV", "", "setText 90", "float=12|int=12|byte=12");
        row("grpV answer 0 is -60 dB", "grpV", "", "setText 0", "float=-60|int=-60|byte=68");
        row("grpV keeps a decimal of fromInt", "grpV", "", "setText 64;fromInt -7", "text=-7");

        // strV carries the number as text with the attributes' decimals.
        row("strV float", "strV", "decimals=1", "fromFloat -10.5", "text=-10.5|float=-10.5");
        row("strV answer", "strV", "", "setText -12", "int=-12");
        row("strV byte", "strV", "", "fromByte 200", "text=200|byte=200");
        row("strV number", "strV", "", "fromInt -3", "text=-3|size=2");
        row("strV text that is no number", "strV", "", "fromText loud", "int=0|float=0|byte=0");
        row("text keeps text", "text", "", "fromText 0123 456", "text=0123 456|size=8");
        row("text has no numbers", "text", "", "setText 99;fromInt 5", "text=99|int=0");

        // The display text follows the format's decimals; "pct" adds a percent.
        row("strV one decimal pct", "strV", "format=0.0|units=pct", "setDisplay 50",
            "display=50.0%");
        row("strV two decimals dB", "strV", "format=0.00|units=dB", "setDisplay -3.25",
            "display=-3.25");
        row("strV units Pct is no percent", "strV", "format=0.0|units=Pct", "setDisplay 50",
            "display=50.0");
        row("grpV no decimals pct", "grpV", "format=0|units=pct", "setDisplay 75", "display=75%");
        row("grpV one decimal", "grpV", "format=0.0|units=dB", "setDisplay -10.5", "display=-10.5");
    }

    void conversions()
    {
        QFETCH(QString, kind);
        QFETCH(QString, attributes);
        QFETCH(QString, calls);
        QFETCH(QString, expected);
        CAttributes record;
        for (const QString &pair : attributes.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            const QString key = pair.section(QLatin1Char('='), 0, 0);
            const QString value = pair.section(QLatin1Char('='), 1);
            if (key == QLatin1String("set")) {
                record.setSet(value);
            } else if (key == QLatin1String("format")) {
                record.setFormat(value);
                record.setDecimals(CAttributes::decimalsFromFormat(value));
            } else if (key == QLatin1String("units")) {
                record.setUnits(value);
            } else {
                QCOMPARE(key, QStringLiteral("decimals"));
                record.setDecimals(value.toInt());
            }
        }
        std::unique_ptr<TTransform> transform(TTransformFactory::create(kind));
        if (!transform) {
            QCOMPARE(QStringLiteral("none"), expected);
            return;
        }
        transform->setAttributes(&record);
        transform->configure();
        for (const QString &step : calls.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            apply(*transform, step);
        QStringList actual;
        for (const QString &pair : expected.split(QLatin1Char('|'))) {
            const QString key = pair.section(QLatin1Char('='), 0, 0);
            actual << key + QLatin1Char('=') + valueOf(*transform, key);
        }
        QCOMPARE(actual.join(QLatin1Char('|')), expected);
    }

    void linkModeZeroFindsTransformByControlId()
    {
        CComposite root;
        auto *source = new CControl;
        auto *follower = new CControl;
        root.addChild(source);
        root.addChild(follower);
        source->setId(4711);
        follower->setId(4712);
        source->setTransform(TTransformFactory::create(QStringLiteral("bin8")));
        follower->setTransform(TTransformFactory::create(QStringLiteral("strV")));
        follower->attributes().setOwner(follower);
        follower->attributes().setLink(4711);
        follower->transform()->setAttributes(&follower->attributes());
        follower->transform()->link(0);
        QCOMPARE(follower->transform()->linked(), source->transform());
        QCOMPARE(source->transform()->linkOwner(), follower->transform());

        // A link to an id nobody has finds nothing.
        follower->attributes().setLink(9999);
        follower->transform()->link(0);
        QVERIFY(!follower->transform()->linked());
    }

    void linkModeOneHandsOverEndOfOwnerChain()
    {
        TBin8 head;
        TBin8 middle;
        TStrV linked;
        middle.setLinkOwner(&head);
        middle.setLinked(&linked);
        QCOMPARE(head.linkOwner(), &head);

        // Modes other than 0 and 1 do nothing.
        middle.link(2);
        middle.link(-1);
        QCOMPARE(middle.linked(), &linked);
        QCOMPARE(linked.linkOwner(), &linked);
        middle.link(1);
        QCOMPARE(linked.linkOwner(), &head);

        // Without a linked transform mode 1 changes nothing.
        TBin8 alone;
        alone.setLinkOwner(&head);
        alone.link(1);
        QVERIFY(!alone.linked());

        // An owner chain that loops does not hang.
        TBin8 a;
        TBin8 b;
        a.setLinkOwner(&b);
        b.setLinkOwner(&a);
        a.setLinked(&linked);
        a.link(1);
        QVERIFY(linked.linkOwner() == &a || linked.linkOwner() == &b);
    }
};

ZRB_MODEL_TEST_MAIN(TestTransforms)
#include "tst_transforms.moc"
