target_sources(zrbeditor PRIVATE
    commands/BCommand.h commands/BCommand.cpp
    commands/BCommandFactory.h commands/BCommandFactory.cpp
    commands/BCommandProcessor.h commands/BCommandProcessor.cpp
    commands/BEditUndoCommand.h commands/BEditUndoCommand.cpp
    commands/BEditRedoCommand.h commands/BEditRedoCommand.cpp
    commands/BClipboard.h commands/BClipboard.cpp
    commands/BControlList.h commands/BControlList.cpp
    commands/BDropPlacement.h commands/BDropPlacement.cpp
    commands/BDropControlCommand.h commands/BDropControlCommand.cpp
    commands/BDropLinkCommand.h commands/BDropLinkCommand.cpp
    commands/BDropPanelCommand.h commands/BDropPanelCommand.cpp
    commands/BDropSiteCommand.h commands/BDropSiteCommand.cpp
    commands/BEditCopyCommand.h commands/BEditCopyCommand.cpp
    commands/BEditDeleteCommand.h commands/BEditDeleteCommand.cpp
    commands/BEditPasteCommand.h commands/BEditPasteCommand.cpp
    commands/BEditPropCommand.h commands/BEditPropCommand.cpp
)
