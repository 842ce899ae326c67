#pragma once

#include <memory>

class BCommand;

// Creates commands by their numeric code; the caller owns what it answers.
class BCommandFactory
{
public:
    enum Code
    {
        ToolSelect = 0x2000,
        ToolDrag = 0x2001,
        ToolResize = 0x2002,
        ToolReshape = 0x2003,
        ToolDeleteVertex = 0x2004,
        ToolInsertVertex = 0x2005,
        ToolNudge = 0x2006,
        EditUndo = 0x2100,
        EditRedo = 0x2101,
        EditCut = 0x2102,
        EditCopy = 0x2103,
        EditPaste = 0x2104,
        EditDelete = 0x2105,
        EditProp = 0x2107,
        DropControl = 0x2200,
        DropPanel = 0x2201,
        DropSite = 0x2202,
        DropLink = 0x2203,
        LayoutFront = 0x2300,
        LayoutForward = 0x2301,
        LayoutBack = 0x2302,
        LayoutBackward = 0x2303,
        AlignLeft = 0x2304,
        AlignRight = 0x2305,
        AlignTop = 0x2306,
        AlignBottom = 0x2307,
        AlignHCenter = 0x2308,
        AlignVCenter = 0x2309,
        LayoutSpaceAcross = 0x230A,
        LayoutSpaceDown = 0x230B
    };

    static BCommandFactory *instance();

    // Null for a code that names no command class.
    std::unique_ptr<BCommand> create(int code) const;

private:
    BCommandFactory() = default;
};
