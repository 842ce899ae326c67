#include "common/TestSupport.h"

#include "design/HTorvaLink.h"
#include "document/CAttributes.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

#include <QGuiApplication>
#include <QBuffer>
#include <QTest>

class TestAttributes : public QObject
{
    Q_OBJECT

private:
    static QString written(const CAttributes &attributes)
    {
        return TestSupport::writtenXml([&](XmlWriter &writer) { attributes.write(&writer); });
    }

private slots:
    void defaults()
    {
        CAttributes attributes;
        QCOMPARE(attributes.minLimit(), -40.0f);
        QVERIFY(attributes.enableEdit());
        QCOMPARE(attributes.kind(), QString());
        QCOMPARE(attributes.index1(), 0);
        QCOMPARE(attributes.structNumber(), 0u);
    }

    void conversions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("index1 decimal") << "index1" << "12" << "index1" << QVariant(12);
        QTest::newRow("index1 not a number") << "index1" << "x3" << "index1" << QVariant(0);
        QTest::newRow("index2 negative") << "index2" << "-2" << "index2" << QVariant(-2);
        QTest::newRow("struct hex") << "struct" << "0x1F" << "struct" << QVariant(31u);
        QTest::newRow("struct capital X") << "struct" << "0X1F" << "struct" << QVariant(0u);
        QTest::newRow("struct decimal") << "struct" << "8" << "struct" << QVariant(8u);
        QTest::newRow("struct garbage") << "struct" << "eight" << "struct" << QVariant(0u);
        QTest::newRow("link hex") << "link" << "0x10" << "link" << QVariant(16u);
        QTest::newRow("field decimal") << "field" << "7" << "field" << QVariant(7u);
        QTest::newRow("minimum") << "minimum" << "-60" << "minimum" << QVariant(-60.0f);
        QTest::newRow("maximum") << "maximum" << "12.5" << "maximum" << QVariant(12.5f);
        QTest::newRow("step") << "step" << "0.5" << "step" << QVariant(0.5f);
        QTest::newRow("maximum garbage") << "maximum" << "lots" << "maximum" << QVariant(0.0f);
        QTest::newRow("minLimit") << "minLimit" << "-30" << "minLimit" << QVariant(-30.0f);
        QTest::newRow("maxLimit") << "maxLimit" << "6" << "maxLimit" << QVariant(6.0f);
        QTest::newRow("enableEdit 2") << "enableEdit" << "2" << "enableEdit" << QVariant(true);
        QTest::newRow("enableEdit 0") << "enableEdit" << "0" << "enableEdit" << QVariant(false);
        QTest::newRow("set") << "set" << "F,O,T" << "set" << QVariant(QStringLiteral("F,O,T"));
        QTest::newRow("format") << "format" << "nn.n" << "format" << QVariant(QStringLiteral("nn.n"));
        QTest::newRow("units") << "units" << "dB" << "units" << QVariant(QStringLiteral("dB"));
        QTest::newRow("transform") << "transform" << "strV" << "transform"
                                   << QVariant(QStringLiteral("strV"));
        QTest::newRow("unknown key") << "colour" << "red" << "set" << QVariant(QString());
        QTest::newRow("key case") << "Index1" << "5" << "index1" << QVariant(0);
    }

    void conversions()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        CAttributes attributes;
        QVERIFY(attributes.setValue(QStringLiteral("range"), key, text));
        QVariant actual;
        if (field == "index1")
            actual = attributes.index1();
        else if (field == "index2")
            actual = attributes.index2();
        else if (field == "struct")
            actual = attributes.structNumber();
        else if (field == "link")
            actual = attributes.link();
        else if (field == "field")
            actual = attributes.field();
        else if (field == "minimum")
            actual = attributes.minimum();
        else if (field == "maximum")
            actual = attributes.maximum();
        else if (field == "step")
            actual = attributes.step();
        else if (field == "minLimit")
            actual = attributes.minLimit();
        else if (field == "maxLimit")
            actual = attributes.maxLimit();
        else if (field == "enableEdit")
            actual = attributes.enableEdit();
        else if (field == "set")
            actual = attributes.set();
        else if (field == "format")
            actual = attributes.format();
        else if (field == "units")
            actual = attributes.units();
        else if (field == "transform")
            actual = attributes.transform();
        QCOMPARE(actual, expected);
    }

    void kindIsFixedByFirstElement()
    {
        CAttributes attributes;
        attributes.setValue(QStringLiteral("list"), QStringLiteral("index1"), QStringLiteral("2"));
        attributes.setValue(QStringLiteral("range"), QStringLiteral("minimum"), QStringLiteral("-10"));
        QCOMPARE(attributes.kind(), QStringLiteral("list"));
        QCOMPARE(attributes.minimum(), -10.0f);
    }

    void decimals_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("decimals");
        QTest::newRow("0.00") << "0.00" << 2;
        QTest::newRow("0.000") << "0.000" << 3;
        QTest::newRow("0.") << "0." << 0;
        QTest::newRow("dB") << "dB" << 0;
        QTest::newRow("nn.n") << "nn.n" << 1;
        QTest::newRow("empty") << "" << 0;
    }

    void decimals()
    {
        QFETCH(QString, format);
        QFETCH(int, decimals);
        CAttributes attributes;
        attributes.setValue(QStringLiteral("range"), QStringLiteral("format"), format);
        attributes.finishLoading();
        QCOMPARE(attributes.decimals(), decimals);
    }

    void freshRecordWritesNothing()
    {
        CAttributes attributes;
        QVERIFY(!attributes.write(nullptr));
        QCOMPARE(written(attributes), QString());
        attributes.setKind(QStringLiteral("slider"));
        QCOMPARE(written(attributes), QString());
    }

    void writeRange()
    {
        CAttributes attributes;
        attributes.setValue(QStringLiteral("range"), QStringLiteral("minimum"), QStringLiteral("0"));
        attributes.setValue(QStringLiteral("range"), QStringLiteral("struct"), QStringLiteral("0x1F"));
        attributes.setValue(QStringLiteral("range"), QStringLiteral("step"), QStringLiteral("0.5"));
        attributes.setValue(QStringLiteral("range"), QStringLiteral("enableEdit"), QStringLiteral("2"));
        attributes.setValue(QStringLiteral("range"), QStringLiteral("link"), QStringLiteral("77"));
        attributes.setValue(QStringLiteral("range"), QStringLiteral("field"), QStringLiteral("3"));
        const QString expected = QStringLiteral("<range>\n"
                                                "\t<struct>31</struct>\n"
                                                "\t<enableEdit>1</enableEdit>\n"
                                                "\t<minimum>0</minimum>\n"
                                                "\t<minLimit>-40</minLimit>\n"
                                                "\t<maximum>0</maximum>\n"
                                                "\t<maxLimit>0</maxLimit>\n"
                                                "\t<step>0.5</step>\n"
                                                "\t<units></units>\n"
                                                "\t<format></format>\n"
                                                "\t<transform></transform>\n"
                                                "</range>\n");
        QCOMPARE(written(attributes), expected);
    }

    void writeList()
    {
        CAttributes attributes;
        attributes.setValue(QStringLiteral("list"), QStringLiteral("index1"), QStringLiteral("2"));
        attributes.setValue(QStringLiteral("list"), QStringLiteral("index2"), QStringLiteral("-1"));
        attributes.setValue(QStringLiteral("list"), QStringLiteral("set"), QStringLiteral("F,O,T"));
        attributes.setValue(QStringLiteral("list"), QStringLiteral("channelLabel"),
                            QStringLiteral("In <1> & 2"));
        const QString expected = QStringLiteral("<list>\n"
                                                "\t<index1>2</index1>\n"
                                                "\t<enableEdit>1</enableEdit>\n"
                                                "\t<set>F,O,T</set>\n"
                                                "\t<format></format>\n"
                                                "\t<transform></transform>\n"
                                                "\t<channelLabel>In &#60;1&#62; &#38; 2</channelLabel>\n"
                                                "</list>\n");
        QCOMPARE(written(attributes), expected);
    }

    void channelLabelFromBlock()
    {
        HTorvaLink link;
        link.readProperty(QStringLiteral("label4"), QStringLiteral("Ch 4"));

        CControl control;
        control.setBlock(&link);
        CAttributes &attributes = control.attributes();
        attributes.setValue(QStringLiteral("range"), QStringLiteral("index1"), QStringLiteral("4"));
        attributes.setValue(QStringLiteral("range"), QStringLiteral("channelLabel"), QStringLiteral("?"));
        QCOMPARE(attributes.channelLabel(), QStringLiteral("TorvaLink-Ch 4"));

        attributes.setValue(QStringLiteral("range"), QStringLiteral("channelLabel"), QStringLiteral("Mics"));
        QCOMPARE(attributes.channelLabel(), QStringLiteral("Mics"));
        control.setBlock(nullptr); // the link card lives on the stack
    }

    void channelLabelWithoutBlockKeepsValue()
    {
        CControl control;
        CAttributes &attributes = control.attributes();
        attributes.setChannelLabel(QStringLiteral("Before"));
        attributes.setValue(QStringLiteral("list"), QStringLiteral("channelLabel"), QStringLiteral("?"));
        QCOMPARE(attributes.channelLabel(), QStringLiteral("Before"));
    }

    void linkedTransformSearchesWholeDocument()
    {
        CComposite root;
        auto *panel = new CComposite();
        root.addChild(panel);
        auto *source = new CControl();
        auto *follower = new CControl();
        panel->addChild(source);
        panel->addChild(follower);
        QVERIFY(!follower->attributes().linkedTransform());
        follower->attributes().setLink(source->id());
        // No transform on the source yet: nothing to follow.
        QVERIFY(!follower->attributes().linkedTransform());
        source->attributes().setTransform(QStringLiteral("bin8"));
        source->rebind();
        QVERIFY(source->transform());
        QCOMPARE(follower->attributes().linkedTransform(), source->transform());
        follower->attributes().setLink(source->id() + 1000);
        QVERIFY(!follower->attributes().linkedTransform());
    }
};

ZRB_MODEL_TEST_MAIN(TestAttributes)
#include "tst_attributes.moc"
