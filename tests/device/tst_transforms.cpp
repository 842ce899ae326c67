#include "common/TestSupport.h"

#include "device/TBin8.h"
#include "device/TGrpV.h"
#include "device/TStrV.h"
#include "device/TText.h"
#include "device/TTransformFactory.h"
#include "document/CAttributes.h"
#include "document/CComposite.h"
#include "document/CControl.h"

#include <QApplication>
#include <QtTest>

#include <cmath>
#include <memory>

namespace {

// A transform of the kind, configured from the attributes.
std::unique_ptr<TTransform> configured(const QString &kind, CAttributes *attributes)
{
    std::unique_ptr<TTransform> transform(TTransformFactory::create(kind));
    if (transform) {
        transform->setAttributes(attributes);
        transform->configure();
    }
    return transform;
}

} // namespace

class TestTransforms : public QObject
{
    Q_OBJECT

private slots:
    void factoryCreatesByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        const char *const kinds[][2] = {{"bin8", "Bin8"}, {"idx8", "Bin8"}, {"strV", "StrV"},
                                        {"grpV", "GrpV"}, {"chrL", "ChrL"}, {"hexL", "HexL"},
                                        {"strL", "StrL"}, {"text", "Text"}};
        for (const auto &kind : kinds)
            QTest::newRow(kind[0]) << kind[0] << QString::fromLatin1(kind[1]);
        QTest::newRow("case matters") << "StrV" << QString();
        QTest::newRow("class name is no kind") << "Bin8" << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("unknown") << "float" << QString();
    }

    void factoryCreatesByName()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        std::unique_ptr<TTransform> transform(TTransformFactory::create(name));
        QCOMPARE(transform ? transform->name() : QString(), className);
    }

    void listTransformsMapTheSetList_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("set");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("text");

        // Each row: fromByte(start), then one call, then the byte and text it leaves.
        auto row = [](const char *tag, QString kind, QString set, int start, QString call,
                      QString argument, int byte, QString text) {
            QTest::newRow(tag) << kind << set << start << call << argument << byte << text;
        };
        const QString fot = QStringLiteral("F,O,T");
        row("chrL byte 1 is O", "chrL", fot, 0, "fromByte", "1", 1, "O");
        row("chrL text T is 2", "chrL", fot, 0, "fromText", "T", 2, "T");
        row("chrL answer F is 0", "chrL", fot, 2, "setText", "F", 0, "F");
        row("chrL unknown text is 0", "chrL", fot, 2, "fromText", "X", 0, "F");
        row("chrL empty text is 0", "chrL", fot, 2, "fromText", "", 0, "F");
        row("chrL byte 16 is beyond the table", "chrL", fot, 0, "fromByte", "16", 16, "?");
        row("chrL byte 255", "chrL", fot, 0, "fromByte", "255", 255, "?");
        const QString twenty = QStringLiteral("A,B,C,D,E,F,G,H,I,J,K,L,M,N,O,P,Q,R,S,T");
        row("chrL sixteenth state fits", "chrL", twenty, 0, "fromText", "P", 15, "P");
        row("chrL seventeenth state is cut", "chrL", twenty, 0, "fromText", "Q", 0, "A");
        row("chrL list stops at an empty entry", "chrL", "U,,M,T", 0, "fromText", "M", 0, "U");
        const QString wide = QStringLiteral("Up,\u20ac,Mute");
        row("chrL keeps first characters", "chrL", wide, 0, "fromText", "Mute", 2, "M");
        row("chrL beyond Latin-1 is code 0", "chrL", wide, 0, "fromByte", "1", 1,
            QString(QChar(0)));
        const QString codes = QStringLiteral("0a,1F,ff,1c3,zz");
        row("hexL reads hex codes", "hexL", codes, 0, "fromByte", "1", 0x1f, QString(QChar(0x1f)));
        row("hexL keeps the low byte", "hexL", codes, 0, "fromByte", "3", 0xc3,
            QString(QChar(0xc3)));
        row("hexL answer changes nothing", "hexL", codes, 3, "setText", "0a", 0xc3,
            QString(QChar(0xc3)));
        row("hexL text changes nothing", "hexL", codes, 3, "fromText", "0a", 0xc3,
            QString(QChar(0xc3)));
        row("hexL no code is 0", "hexL", codes, 0, "fromByte", "4", 0, QString(QChar(0)));
        row("hexL byte 16 is beyond the table", "hexL", codes, 0, "fromByte", "16", 255, "?");
        const QString names = QStringLiteral("Low,Mid,High,S4,S5,S6,S7,S8,Ninth");
        row("strL text Mid is 1", "strL", names, 0, "fromText", "Mid", 1, "Mid");
        row("strL ninth state is cut", "strL", names, 0, "fromText", "Ninth", 0, "Low");
        row("strL byte 7", "strL", names, 0, "fromByte", "7", 7, "S8");
        row("strL byte 8 is beyond the table", "strL", names, 0, "fromByte", "8", 8, "?");
        row("strL answer changes nothing", "strL", names, 2, "setText", "Low", 2, "High");
    }

    void listTransformsMapTheSetList()
    {
        QFETCH(QString, kind);
        QFETCH(QString, set);
        QFETCH(int, start);
        QFETCH(QString, call);
        QFETCH(QString, argument);
        QFETCH(int, byte);
        QFETCH(QString, text);
        CAttributes attributes;
        attributes.setSet(set);
        const auto transform = configured(kind, &attributes);
        transform->fromByte(quint8(start));
        if (call == QLatin1String("fromByte"))
            transform->fromByte(quint8(argument.toInt()));
        else if (call == QLatin1String("fromText"))
            transform->fromText(argument);
        else
            transform->setText(argument);
        QCOMPARE(int(transform->toByte()), byte);
        QCOMPARE(transform->toText(), text);
        QCOMPARE(transform->size(), 1);
        // A byte code goes out as that byte.
        char raw = 0;
        if (kind == QLatin1String("hexL")) {
            QCOMPARE(transform->toBytes(&raw, 1), 1);
            QCOMPARE(int(quint8(raw)), byte);
        }
    }

    void bin8KeepsTheLowByte_data()
    {
        // A text (as the user or the DSP gives it), a number or raw bytes.
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<int>("value");
        QTest::newRow("hex 0x1f") << QVariant("0x1f") << 31;
        QTest::newRow("decimal 12") << QVariant("12") << 12;
        QTest::newRow("decimal beyond a byte") << QVariant("300") << 44;
        QTest::newRow("hex beyond a byte") << QVariant("0x1ff") << 255;
        QTest::newRow("upper-case X is not hex") << QVariant("0X1f") << 0;
        QTest::newRow("bare prefix") << QVariant("0x") << 0;
        QTest::newRow("letters") << QVariant("abc") << 0;
        QTest::newRow("empty") << QVariant("") << 0;
        QTest::newRow("number -1") << QVariant(-1) << 255;
        QTest::newRow("number 263") << QVariant(263) << 7;
        QTest::newRow("bytes") << QVariant(QByteArray("\x81", 1)) << 0x81;
    }

    void bin8KeepsTheLowByte()
    {
        QFETCH(QVariant, input);
        QFETCH(int, value);
        TBin8 bin8;
        bin8.fromByte(99);
        if (input.userType() == QMetaType::QString) {
            bin8.fromText(input.toString());
            TBin8 answered;
            answered.setText(input.toString());
            QCOMPARE(int(answered.toByte()), value);
        } else if (input.userType() == QMetaType::QByteArray) {
            bin8.fromBytes(input.toByteArray());
        } else {
            bin8.fromInt(input.toInt());
        }
        QCOMPARE(bin8.toInt(), value);
        QCOMPARE(bin8.toText(), QString::number(value));
        char raw = 0;
        QCOMPARE(bin8.toBytes(&raw, 1), 1);
        QCOMPARE(int(quint8(raw)), value);
        QCOMPARE(bin8.size(), 1);
    }

    void grpVSendsLevelCodes_data()
    {
        // A level in dB from a fader (float), the user (text) or a byte.
        QTest::addColumn<QVariant>("level");
        QTest::addColumn<QString>("text");
        QTest::newRow("+12 is the top") << QVariant(12.0f) << "90";
        QTest::newRow("+20 clamps to the top") << QVariant(20.0f) << "90";
        QTest::newRow("-70 clamps to the bottom") << QVariant(-70.0f) << "0";
        QTest::newRow("-60 is the bottom") << QVariant(-60.0f) << "0";
        QTest::newRow("-10.5 sends -10") << QVariant(-10.5f) << "64";
        QTest::newRow("0 dB") << QVariant(0.0f) << "78";
        QTest::newRow("-0.9 truncates toward zero") << QVariant(-0.9f) << "78";
        QTest::newRow("huge") << QVariant(1.0e30f) << "90";
        QTest::newRow("-infinity") << QVariant(-INFINITY) << "0";
        QTest::newRow("text -10") << QVariant("-10") << "64";
        QTest::newRow("text 100 clamps") << QVariant("100") << "90";
        QTest::newRow("text -99999999999 clamps") << QVariant("-99999999999") << "0";
        QTest::newRow("byte 0") << QVariant(0) << "78";
        QTest::newRow("byte 12") << QVariant(12) << "90";
        QTest::newRow("byte 255 caps") << QVariant(255) << "90";
    }

    void grpVSendsLevelCodes()
    {
        QFETCH(QVariant, level);
        QFETCH(QString, text);
        TGrpV grpV;
        if (level.userType() == QMetaType::Float)
            grpV.fromFloat(level.toFloat());
        else if (level.userType() == QMetaType::QString)
            grpV.fromText(level.toString());
        else
            grpV.fromByte(quint8(level.toInt()));
        QCOMPARE(grpV.toText(), text);
        QCOMPARE(grpV.size(), text.size());
    }

    void grpVReadsAnswerCode_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<float>("level");
        QTest::addColumn<int>("asInt");
        QTest::addColumn<int>("asByte");
        QTest::newRow("64 is -10 dB") << "64" << -10.0f << -10 << 118;
        QTest::newRow("65 is -9.5 dB") << "65" << -9.5f << -9 << 118;
        QTest::newRow("78 is 0 dB") << "78" << 0.0f << 0 << 0;
        QTest::newRow("90 is +12 dB") << "90" << 12.0f << 12 << 12;
        QTest::newRow("0 is -60 dB") << "0" << -60.0f << -60 << 68;
    }

    void grpVReadsAnswerCode()
    {
        QFETCH(QString, answer);
        QFETCH(float, level);
        QFETCH(int, asInt);
        QFETCH(int, asByte);
        TGrpV grpV;
        grpV.setText(answer);
        QCOMPARE(grpV.toText(), answer);
        QCOMPARE(grpV.toFloat(), level);
        QCOMPARE(grpV.toInt(), asInt);
        QCOMPARE(int(grpV.toByte()), asByte);

        // A decimal kept by fromInt is not converted.
        grpV.fromInt(-7);
        QCOMPARE(grpV.toText(), QStringLiteral("-7"));
    }

    void displayTextShowsDecimalsAndPercent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("units");
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("display");
        const QString strV = QStringLiteral("strV");
        const QString grpV = QStringLiteral("grpV");
        QTest::newRow("strV one decimal pct")
            << strV << "0.0" << QStringLiteral("pct") << 50.0f << "50.0%";
        QTest::newRow("strV two decimals dB")
            << strV << "0.00" << QStringLiteral("dB") << -3.25f << "-3.25";
        QTest::newRow("strV units Pct is no percent")
            << strV << "0.0" << QStringLiteral("Pct") << 50.0f << "50.0";
        QTest::newRow("grpV no decimals pct")
            << grpV << "0" << QStringLiteral("pct") << 75.0f << "75%";
        QTest::newRow("grpV one decimal")
            << grpV << "0.0" << QStringLiteral("dB") << -10.5f << "-10.5";
    }

    void displayTextShowsDecimalsAndPercent()
    {
        QFETCH(QString, kind);
        QFETCH(QString, format);
        QFETCH(QString, units);
        QFETCH(float, value);
        QFETCH(QString, display);
        CAttributes attributes;
        attributes.setFormat(format);
        attributes.setDecimals(CAttributes::decimalsFromFormat(format));
        attributes.setUnits(units);
        const auto transform = configured(kind, &attributes);
        transform->setDisplay(value);
        QCOMPARE(transform->displayText(), display);
    }

    void strVConvertsNumbers()
    {
        CAttributes attributes;
        attributes.setDecimals(1);
        TStrV strV;
        strV.setAttributes(&attributes);
        strV.configure();
        strV.fromFloat(-10.5f);
        QCOMPARE(strV.toText(), QStringLiteral("-10.5"));
        QCOMPARE(strV.toFloat(), -10.5f);
        strV.setText(QStringLiteral("-12"));
        QCOMPARE(strV.toInt(), -12);
        strV.fromByte(200);
        QCOMPARE(strV.toText(), QStringLiteral("200"));
        QCOMPARE(int(strV.toByte()), 200);
        strV.fromInt(-3);
        QCOMPARE(strV.toText(), QStringLiteral("-3"));
        QCOMPARE(strV.size(), 2);

        // A text that is no number reads as 0 rather than as garbage.
        strV.fromText(QStringLiteral("loud"));
        QCOMPARE(strV.toInt(), 0);
        QCOMPARE(strV.toFloat(), 0.0f);
        QCOMPARE(int(strV.toByte()), 0);
    }

    void textKeepsText()
    {
        TText text;
        text.fromText(QStringLiteral("0123 456"));
        QCOMPARE(text.toText(), QStringLiteral("0123 456"));
        QCOMPARE(text.size(), 8);
        text.setText(QStringLiteral("99"));
        // Numeric access means nothing for free text.
        text.fromInt(5);
        QCOMPARE(text.toText(), QStringLiteral("99"));
        QCOMPARE(text.toInt(), 0);
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

ZRB_TEST_MAIN(TestTransforms)
#include "tst_transforms.moc"
