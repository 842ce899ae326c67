#pragma once

class ArtOutput;

// The 32 x 32 icons of the menus and the tool bar, one function per family.
namespace ToolIcons {
void makeFileIcons(ArtOutput &out);      // design import, new, open, save, save as
void makeEditIcons(ArtOutput &out);      // undo, redo, undo list, cut, copy, paste, delete, edit mode
void makeStackingIcons(ArtOutput &out);  // bring to front / forward, send to back / backward
void makeAlignIcons(ArtOutput &out);     // the six alignments
void makeDistributeIcons(ArtOutput &out);
void makeToolsIcons(ArtOutput &out);     // online, send to device, canvas, layout
void makeHelpIcons(ArtOutput &out);      // about, help topics
} // namespace ToolIcons
