#pragma once

#include <QXmlStreamAttributes>

#include "document/io/XmlHandler.h"

#include <QHash>

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

class HNode;
class HNodeFactory;
class HRoot;
class MProject;

// Reads a design project file into the hardware tree: processors and their
// cards and blocks, the groups and parameter sets, which of them assignments
// refer to, and the project information. Files of designer versions before
// 4.2 are refused.
class XZDPHandler : public XmlHandler
{
public:
    enum SectionState
    {
        Idle = 0,
        InSection = 1,
        InProjectInfo = 2
    };

    // Designs are text files of a few megabytes; anything far beyond that is
    // not one and is refused before it is read.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    XZDPHandler(HRoot *root, MProject *project);
    ~XZDPHandler() override;

    // Reads the file into the root; answers whether it was read. The reason of
    // a failure goes to errorText when given: for a file of a designer version
    // that is too old, the whole versionMessage(), for the caller to show.
    static bool load(const QString &path, HRoot *root, MProject *project, QString *errorText);

    bool startDocument() override;
    bool startElement(const QString &namespaceURI, const QString &localName, const QString &qName,
                      const QXmlAttributes &attributes) override;
    bool endElement(const QString &namespaceURI, const QString &localName,
                    const QString &qName) override;

    int sectionState() const { return m_sectionState; }
    // The download page named in the version refusal.
    static QString downloadAddress();
    // Whether a file of this designer version can be read: 4.2 and later.
    static bool isSupportedVersion(const QString &version);
    // The whole refusal text for a file of the given version.
    static QString versionMessage(const QString &version);

private:
    bool checkVersion(const QXmlAttributes &attributes);
    void openSection(const QString &element);
    void replaceCurrentNode(HNode *node);
    void finishNode();
    void attach(HNode *node);
    // The group or parameter set an assignment names, as a depth-first
    // search of the tree would find it.
    HNode *findAssigned(const QString &category, const QString &id);
    void index(HNode *node);

    int m_sectionState = Idle;
    HNode *m_pCurrentChassis = nullptr;
    HNode *m_pMainChassis = nullptr;
    HRoot *m_pRoot = nullptr;
    MProject *m_pProject = nullptr;
    HNodeFactory *m_pFactory = nullptr;
    HNode *m_pCurrentNode = nullptr;
    HNode *m_pAssignmentGroup = nullptr;
    // The refusal of a file's version; empty while the version is fine.
    QString m_versionRefusal;
    // Groups and parameter sets by category and id, the first of each id
    // only; made at the first assignment, then kept up as nodes attach.
    bool m_indexed = false;
    QHash<QPair<QString, QString>, HNode *> m_assignable;
};

QT_WARNING_POP
