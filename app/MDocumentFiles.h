#pragma once

#include <QString>

#include <memory>

class CDocument;
class MModel;
class XmlWriter;

// The model's file operations: new from a template, open, save, close, and
// loading or forgetting the design. Works on the model's own state.
class MDocumentFiles
{
public:
    explicit MDocumentFiles(MModel &model);
    ~MDocumentFiles();

    bool newDocument(const QString &templatePath);
    bool open(const QString &path);
    bool save(const QString &path);
    bool writeDocument(XmlWriter *writer);
    void closeDocument();
    bool loadDesign(const QString &path);
    void forgetDesign();

private:
    // Drops the history, the selection and the current panel, which all
    // point into a tree that is going.
    void forgetOldTree();

    MModel &m;
    // The document an open replaced, until the event loop comes round.
    std::unique_ptr<CDocument> m_pReplaced;
};
