#include "common/TestSupport.h"

#include "device/TBin8.h"
#include "device/TChrL.h"
#include "device/TGrpV.h"
#include "device/THexL.h"
#include "device/TStrL.h"
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

// A transform configured from an attributes record that holds only what the
// test names.
template <typename T> std::unique_ptr<T> configured(CAttributes &attributes)
{
    auto transform = std::make_unique<T>();
    transform->setAttributes(&attributes);
    transform->configure();
    return transform;
}

CAttributes withSet(const QString &set)
{
    CAttributes attributes;
    attributes.setSet(set);
    return attributes;
}

} // namespace

class TestTransforms : public QObject
{
    Q_OBJECT

private slots:
    void factoryCreatesByName_data();
    void factoryCreatesByName();

    void chrLMapsStatesOfTheSetList();
    void chrLTableHoldsAtMostSixteenEntries();
    void chrLSetListStopsAtFirstEmptyEntry();

    void bin8FromText_data();
    void bin8FromText();
    void bin8KeepsLowByte();

    void hexLReadsHexCodes();
    void strLNamesStates();

    void grpVFromFloat_data();
    void grpVFromFloat();
    void grpVFromTextAndByte_data();
    void grpVFromTextAndByte();
    void grpVReadsAnswerCode_data();
    void grpVReadsAnswerCode();

    void displayTextShowsDecimalsAndPercent_data();
    void displayTextShowsDecimalsAndPercent();
    void strVConvertsNumbers();
    void textKeepsText();

    void linkModeZeroFindsTransformByControlId();
    void linkModeOneHandsOverEndOfOwnerChain();
    void linkIgnoresOtherModes();
};

void TestTransforms::factoryCreatesByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");

    QTest::newRow("bin8") << "bin8"
                          << "Bin8";
    QTest::newRow("idx8") << "idx8"
                          << "Bin8";
    QTest::newRow("strV") << "strV"
                          << "StrV";
    QTest::newRow("grpV") << "grpV"
                          << "GrpV";
    QTest::newRow("chrL") << "chrL"
                          << "ChrL";
    QTest::newRow("hexL") << "hexL"
                          << "HexL";
    QTest::newRow("strL") << "strL"
                          << "StrL";
    QTest::newRow("text") << "text"
                          << "Text";
    QTest::newRow("case matters") << "StrV" << QString();
    QTest::newRow("class name is no kind") << "Bin8" << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("unknown") << "float" << QString();
}

void TestTransforms::factoryCreatesByName()
{
    QFETCH(QString, name);
    QFETCH(QString, className);

    std::unique_ptr<TTransform> transform(TTransformFactory::create(name));
    if (className.isEmpty()) {
        QVERIFY2(!transform, qPrintable(QStringLiteral("expected no transform for \"%1\", got %2")
                                            .arg(name, transform ? transform->name() : QString())));
        return;
    }
    QVERIFY2(transform, qPrintable(QStringLiteral("no transform for \"%1\"").arg(name)));
    QCOMPARE(transform->name(), className);
}

void TestTransforms::chrLMapsStatesOfTheSetList()
{
    CAttributes attributes = withSet(QStringLiteral("F,O,T"));
    auto chrL = configured<TChrL>(attributes);

    chrL->fromByte(1);
    QCOMPARE(chrL->toText(), QStringLiteral("O"));
    chrL->fromText(QStringLiteral("T"));
    QCOMPARE(chrL->toByte(), quint8(2));
    chrL->setText(QStringLiteral("F"));
    QCOMPARE(chrL->toByte(), quint8(0));
    chrL->fromByte(2);
    chrL->fromText(QStringLiteral("X"));
    QCOMPARE(chrL->toByte(), quint8(0));
    chrL->fromByte(2);
    chrL->fromText(QString());
    QCOMPARE(chrL->toByte(), quint8(0));

    chrL->fromByte(16);
    QCOMPARE(chrL->toText(), QStringLiteral("?"));
    chrL->fromByte(255);
    QCOMPARE(chrL->toText(), QStringLiteral("?"));
    QCOMPARE(chrL->size(), 1);
}

void TestTransforms::chrLTableHoldsAtMostSixteenEntries()
{
    // Twenty states A..T: only A..P fit the table.
    QStringList states;
    for (char c = 'A'; c <= 'T'; ++c)
        states << QString(QLatin1Char(c));
    CAttributes attributes = withSet(states.join(QLatin1Char(',')));
    auto chrL = configured<TChrL>(attributes);

    chrL->fromText(QStringLiteral("P"));
    QCOMPARE(chrL->toByte(), quint8(15));
    chrL->fromText(QStringLiteral("Q"));
    QCOMPARE(chrL->toByte(), quint8(0));
    chrL->fromByte(15);
    QCOMPARE(chrL->toText(), QStringLiteral("P"));
}

void TestTransforms::chrLSetListStopsAtFirstEmptyEntry()
{
    CAttributes attributes = withSet(QStringLiteral("U,,M,T"));
    auto chrL = configured<TChrL>(attributes);
    chrL->fromText(QStringLiteral("M"));
    QCOMPARE(chrL->toByte(), quint8(0));

    // Entries keep their first character; one beyond Latin-1 becomes code 0.
    CAttributes wide = withSet(QStringLiteral("Up,\u20ac,Mute"));
    auto chrL2 = configured<TChrL>(wide);
    chrL2->fromByte(0);
    QCOMPARE(chrL2->toText(), QStringLiteral("U"));
    chrL2->fromByte(1);
    QCOMPARE(chrL2->toText(), QString(QChar(0)));
    chrL2->fromText(QStringLiteral("Mute"));
    QCOMPARE(chrL2->toByte(), quint8(2));
}

void TestTransforms::bin8FromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("hex 0x1f") << "0x1f" << 31;
    QTest::newRow("decimal 12") << "12" << 12;
    QTest::newRow("decimal beyond a byte keeps its low byte") << "300" << 44;
    QTest::newRow("hex beyond a byte keeps its low byte") << "0x1ff" << 255;
    QTest::newRow("upper-case X is not hex") << "0X1f" << 0;
    QTest::newRow("bare prefix") << "0x" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestTransforms::bin8FromText()
{
    QFETCH(QString, text);
    QFETCH(int, value);

    TBin8 bin8;
    bin8.fromByte(99);
    bin8.fromText(text);
    QCOMPARE(int(bin8.toByte()), value);
    QCOMPARE(bin8.toInt(), value);
    QCOMPARE(bin8.toText(), QString::number(value));

    TBin8 answered;
    answered.setText(text);
    QCOMPARE(int(answered.toByte()), value);
}

void TestTransforms::bin8KeepsLowByte()
{
    TBin8 bin8;
    bin8.fromInt(-1);
    QCOMPARE(bin8.toInt(), 255);
    bin8.fromInt(256 + 7);
    QCOMPARE(bin8.toInt(), 7);

    char buffer[4] = {0, 0, 0, 0};
    QCOMPARE(bin8.toBytes(buffer, sizeof buffer), 1);
    QCOMPARE(int(buffer[0]), 7);
    bin8.fromBytes(QByteArray("\x81", 1));
    QCOMPARE(bin8.toInt(), 0x81);
    QCOMPARE(bin8.size(), 1);
}

void TestTransforms::hexLReadsHexCodes()
{
    CAttributes attributes = withSet(QStringLiteral("0a,1F,ff,1c3,zz"));
    auto hexL = configured<THexL>(attributes);

    hexL->fromByte(1);
    QCOMPARE(int(hexL->toByte()), 0x1f);
    QCOMPARE(hexL->toText(), QString(QChar(0x1f)));
    hexL->fromByte(3);
    QCOMPARE(int(hexL->toByte()), 0xc3);
    char buffer[1] = {0};
    QCOMPARE(hexL->toBytes(buffer, 1), 1);
    QCOMPARE(quint8(buffer[0]), quint8(0xc3));

    // An answer from the DSP never moves a byte-code control.
    hexL->setText(QStringLiteral("0a"));
    hexL->fromText(QStringLiteral("0a"));
    QCOMPARE(int(hexL->toByte()), 0xc3);

    hexL->fromByte(16);
    QCOMPARE(int(hexL->toByte()), 255);
    QCOMPARE(hexL->toText(), QStringLiteral("?"));
}

void TestTransforms::strLNamesStates()
{
    CAttributes attributes = withSet(QStringLiteral("Low,Mid,High,S4,S5,S6,S7,S8,Ninth"));
    auto strL = configured<TStrL>(attributes);

    strL->fromText(QStringLiteral("Mid"));
    QCOMPARE(strL->toByte(), quint8(1));
    QCOMPARE(strL->toText(), QStringLiteral("Mid"));
    strL->fromText(QStringLiteral("Ninth"));
    QCOMPARE(strL->toByte(), quint8(0));
    strL->fromByte(7);
    QCOMPARE(strL->toText(), QStringLiteral("S8"));
    strL->fromByte(8);
    QCOMPARE(strL->toText(), QStringLiteral("?"));

    strL->fromByte(2);
    strL->setText(QStringLiteral("Low"));
    QCOMPARE(strL->toByte(), quint8(2));
}

void TestTransforms::grpVFromFloat_data()
{
    QTest::addColumn<float>("level");
    QTest::addColumn<QString>("text");

    QTest::newRow("+12 is the top") << 12.0f << "90";
    QTest::newRow("+20 clamps to the top") << 20.0f << "90";
    QTest::newRow("-70 clamps to the bottom") << -70.0f << "0";
    QTest::newRow("-60 is the bottom") << -60.0f << "0";
    QTest::newRow("-10.5 sends -10") << -10.5f << "64";
    QTest::newRow("0 dB") << 0.0f << "78";
    QTest::newRow("-0.9 truncates toward zero") << -0.9f << "78";
    QTest::newRow("huge") << 1.0e30f << "90";
    QTest::newRow("-infinity") << -INFINITY << "0";
}

void TestTransforms::grpVFromFloat()
{
    QFETCH(float, level);
    QFETCH(QString, text);

    TGrpV grpV;
    grpV.fromFloat(level);
    QCOMPARE(grpV.toText(), text);
    QCOMPARE(grpV.size(), text.size());
}

void TestTransforms::grpVFromTextAndByte_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("text");

    QTest::newRow("text -10") << "-10" << -1 << "64";
    QTest::newRow("text 100 clamps") << "100" << -1 << "90";
    QTest::newRow("text -99999999999 clamps") << "-99999999999" << -1 << "0";
    QTest::newRow("byte 0") << QString() << 0 << "78";
    QTest::newRow("byte 12") << QString() << 12 << "90";
    QTest::newRow("byte 255 caps") << QString() << 255 << "90";
}

void TestTransforms::grpVFromTextAndByte()
{
    QFETCH(QString, source);
    QFETCH(int, byte);
    QFETCH(QString, text);

    TGrpV grpV;
    if (byte >= 0)
        grpV.fromByte(quint8(byte));
    else
        grpV.fromText(source);
    QCOMPARE(grpV.toText(), text);
}

void TestTransforms::grpVReadsAnswerCode_data()
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

void TestTransforms::grpVReadsAnswerCode()
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

void TestTransforms::displayTextShowsDecimalsAndPercent_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("units");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("display");

    QTest::newRow("strV one decimal pct") << "strV"
                                          << "0.0"
                                          << "pct" << 50.0f << "50.0%";
    QTest::newRow("strV two decimals dB") << "strV"
                                          << "0.00"
                                          << "dB" << -3.25f << "-3.25";
    QTest::newRow("strV units Pct is no percent") << "strV"
                                                  << "0.0"
                                                  << "Pct" << 50.0f << "50.0";
    QTest::newRow("grpV no decimals pct") << "grpV"
                                          << "0"
                                          << "pct" << 75.0f << "75%";
    QTest::newRow("grpV one decimal") << "grpV"
                                      << "0.0"
                                      << "dB" << -10.5f << "-10.5";
}

void TestTransforms::displayTextShowsDecimalsAndPercent()
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
    std::unique_ptr<TTransform> transform(TTransformFactory::create(kind));
    QVERIFY(transform);
    transform->setAttributes(&attributes);
    transform->configure();
    transform->setDisplay(value);
    QCOMPARE(transform->displayText(), display);
}

void TestTransforms::strVConvertsNumbers()
{
    CAttributes attributes;
    attributes.setDecimals(1);
    auto strV = configured<TStrV>(attributes);

    strV->fromFloat(-10.5f);
    QCOMPARE(strV->toText(), QStringLiteral("-10.5"));
    QCOMPARE(strV->toFloat(), -10.5f);
    strV->setText(QStringLiteral("-12"));
    QCOMPARE(strV->toText(), QStringLiteral("-12"));
    QCOMPARE(strV->toInt(), -12);
    strV->fromByte(200);
    QCOMPARE(strV->toText(), QStringLiteral("200"));
    QCOMPARE(int(strV->toByte()), 200);
    strV->fromInt(-3);
    QCOMPARE(strV->toText(), QStringLiteral("-3"));
    QCOMPARE(strV->size(), 2);

    // A text that is no number reads as 0 rather than as garbage.
    strV->fromText(QStringLiteral("loud"));
    QCOMPARE(strV->toInt(), 0);
    QCOMPARE(strV->toFloat(), 0.0f);
    QCOMPARE(int(strV->toByte()), 0);
}

void TestTransforms::textKeepsText()
{
    TText text;
    text.fromText(QStringLiteral("0123 456"));
    QCOMPARE(text.toText(), QStringLiteral("0123 456"));
    QCOMPARE(text.size(), 8);
    text.setText(QStringLiteral("99"));
    QCOMPARE(text.toText(), QStringLiteral("99"));
    // Numeric access means nothing for free text.
    text.fromInt(5);
    QCOMPARE(text.toText(), QStringLiteral("99"));
    QCOMPARE(text.toInt(), 0);
}

void TestTransforms::linkModeZeroFindsTransformByControlId()
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

void TestTransforms::linkModeOneHandsOverEndOfOwnerChain()
{
    TBin8 head;
    TBin8 middle;
    TStrV linked;
    middle.setLinkOwner(&head);
    middle.setLinked(&linked);
    QCOMPARE(head.linkOwner(), &head);

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

void TestTransforms::linkIgnoresOtherModes()
{
    TBin8 owner;
    TStrV linked;
    owner.setLinked(&linked);
    owner.link(2);
    owner.link(-1);
    QCOMPARE(owner.linked(), &linked);
    QCOMPARE(linked.linkOwner(), &linked);
}

ZRB_TEST_MAIN(TestTransforms)
#include "tst_transforms.moc"
