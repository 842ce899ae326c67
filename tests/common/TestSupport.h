#pragma once

#include <QString>

#include <functional>

class XmlWriter;

// Shared start-up for every test executable: registers the compiled resources
// and keeps settings inside the test's own folder.
namespace TestSupport {
// The document's resources and empty settings.
void initialize();
// Path of a file under tests/data.
QString dataPath(const QString &relative);
// What a writer produces (UTF-8 mode) when the function writes to it.
QString writtenXml(const std::function<void(XmlWriter &)> &write);
} // namespace TestSupport

// For tests of the model library: no widgets, no QML.
#define ZRB_MODEL_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QGuiApplication app(argc, argv);                                                           \
        TestSupport::initialize();                                                                 \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
