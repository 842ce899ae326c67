#include "app/URender.h"

#include "app/MModel.h"
#include "app/UTool.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "views/VQmlFrame.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QEventLoop>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QQuickItem>
#include <QTextStream>
#include <QUrl>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("URender", text);
}

int fail(QTextStream &err, const QString &file, const QString &reason)
{
    err << "zrbtool: " << file << ": " << QString(reason).replace(QLatin1Char('\n'), QLatin1Char(' '))
        << '\n';
    err.flush();
    return UTool::Failure;
}

int usageError(QTextStream &err, const QString &reason)
{
    err << "zrbtool: " << reason << '\n' << "Try 'zrbtool --help' for more information.\n";
    err.flush();
    return UTool::UsageError;
}

// The canvas of the program, never shown: the desktop scene with its rows
// and the document's items, at the canvas record's pixel size.
class RenderSession
{
public:
    RenderSession()
    {
        canvas.setDpiOverride(96.0f);
        model.setCanvas(&canvas);
        frame.initialize(false);
        model.initialize();
        model.setQmlFrame(&frame);
        frame.setModel(&model);
        canvas.attachView(&frame);
        frame.setResizeMode(QQuickView::SizeRootObjectToView);
        frame.setSource(QUrl(QStringLiteral("qrc:/qml/QmlDesktop.qml")));
        // On the offscreen platform a shown window is drawn nowhere but in
        // memory, which is all a grab needs.
        frame.show();
    }

    bool open(const QString &path) { return model.open(path); }

    void resize(double factor)
    {
        const QSize size(qMax(1, int(canvas.width() * factor)), qMax(1, int(canvas.height() * factor)));
        frame.resize(size);
        if (QQuickItem *root = frame.rootObject()) {
            root->setSize(size);
        }
        settle();
    }

    // Lets bindings, layouts and deferred deletions run before a frame is drawn.
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        model.canvasResize();
        QCoreApplication::processEvents();
    }

    // The last frame drawn. With the software renderer on the offscreen
    // platform the frame lives in the window's backing store, which the
    // screen hands out.
    QImage grab()
    {
        QEventLoop wait;
        QTimer::singleShot(2000, &wait, &QEventLoop::quit);
        QObject::connect(&frame, &QQuickWindow::frameSwapped, &wait, &QEventLoop::quit);
        frame.update();
        wait.exec();
        QScreen *screen = frame.screen();
        return screen ? screen->grabWindow(frame.winId()).toImage() : QImage();
    }

    CCanvas canvas;
    MModel model;
    VQmlFrame frame;
};

} // namespace

QString URender::safeName(const QString &name)
{
    QString safe;
    for (const QChar c : name) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ||
            c == QLatin1Char('.'))
            safe += c;
        else if (c.isSpace())
            safe += QLatin1Char('_');
    }
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    return safe.isEmpty() ? QStringLiteral("unnamed") : safe.left(80);
}

int URender::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QString input;
    QString folder = QStringLiteral(".");
    double factor = 1.0;
    for (int i = 0; i < arguments.count(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("-o") || argument == QLatin1String("--scale")) {
            if (i + 1 >= arguments.count())
                return usageError(err, QStringLiteral("%1 needs a value").arg(argument));
            const QString value = arguments.at(++i);
            if (argument == QLatin1String("-o")) {
                folder = value;
                continue;
            }
            bool ok = false;
            factor = value.toDouble(&ok);
            if (!ok || !(factor >= 0.25 && factor <= 8.0))
                return usageError(err, QStringLiteral("--scale takes a number from 0.25 to 8"));
        } else if (argument.startsWith(QLatin1String("-"))) {
            return usageError(err, QStringLiteral("unknown option '%1'").arg(argument));
        } else if (input.isEmpty()) {
            input = argument;
        } else {
            return usageError(err, QStringLiteral("render needs exactly one FILE"));
        }
    }
    if (input.isEmpty())
        return usageError(err, QStringLiteral("render needs exactly one FILE"));
    const QString unreadable = CDocument::unreadableReason(input);
    if (!unreadable.isEmpty())
        return fail(err, input, unreadable);
    if (!QDir().mkpath(folder))
        return fail(err, folder, tr("Cannot create the folder."));

    RenderSession session;
    if (!session.open(input))
        return fail(err, input, session.model.lastError());
    session.model.setEditMode(false);
    session.resize(factor);

    CComposite *root = session.model.documentRoot();
    for (int c = 0; c < root->childCount(); ++c) {
        auto *collection = dynamic_cast<CComposite *>(root->childAt(c));
        if (!collection || !session.model.selectCollection(c))
            continue;
        for (int p = 0; p < collection->childCount(); ++p) {
            session.model.setPage(p);
            session.settle();
            const QImage image = session.grab();
            const QString name = safeName(collection->name()) + QLatin1Char('-') +
                                 safeName(collection->childAt(p)->name()) + QStringLiteral(".png");
            const QString path = QDir(folder).filePath(name);
            if (image.isNull() || !image.save(path, "PNG"))
                return fail(err, path, tr("Cannot write this picture."));
            out << QDir::toNativeSeparators(path) << '\n';
        }
    }
    out.flush();
    return UTool::Success;
}
