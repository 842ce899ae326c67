#pragma once

#include <QString>

class CCanvas;
class HNode;
class HRoot;
class MProject;
class UArchive;

// What a read of panel-file XML fills besides the document tree, and what it
// binds the controls to. Every member may be absent.
struct CLoadContext {
    // Blocks and connections are bound to (and added to) this design.
    HRoot *hardware = nullptr;
    // The block every control read is bound to (a dropped design node).
    HNode *block = nullptr;
    // Only controls of this name are taken, when set.
    QString nameFilter;
    MProject *project = nullptr;
    CCanvas *canvas = nullptr;
    // Image paths are redirected to this archive's extracted copies.
    const UArchive *archive = nullptr;
    // The live items are left to be built when their panel is first shown:
    // a large document opens without building what nobody looks at yet.
    bool deferItems = false;
};
