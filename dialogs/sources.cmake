target_sources(zrbeditor PRIVATE
    dialogs/DModalDialog.h dialogs/DModalDialog.cpp
    dialogs/DQmlMessageDialog.h dialogs/DQmlMessageDialog.cpp
    dialogs/DTemplateDialog.h dialogs/DTemplateDialog.cpp
    dialogs/DUndoListDialog.h dialogs/DUndoListDialog.cpp
    dialogs/DDownloadDialog.h dialogs/DDownloadDialog.cpp
    dialogs/DTransferProgress.h dialogs/DTransferProgress.cpp
)
