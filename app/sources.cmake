target_sources(zrbeditor PRIVATE
    app/AppResources.h app/AppResources.cpp
    app/UMessage.h app/UMessage.cpp
    app/UBusyCursor.h app/UBusyCursor.cpp
    app/KController.h app/KController.cpp
    app/KComposite.h app/KComposite.cpp
    app/KMainActions.h app/KMainActions.cpp
    app/KMainController.h app/KMainController.cpp
    app/KPanelFiles.h app/KPanelFiles.cpp
    app/MainWindow.h app/MainWindow.cpp
    app/UFileDialog.h app/UFileDialog.cpp
    app/MModel.h app/MModel.cpp
    app/MDocumentFiles.h app/MDocumentFiles.cpp
    app/MCanvasState.h app/MCanvasState.cpp
    app/MDocumentEditing.h app/MDocumentEditing.cpp
    app/URender.h app/URender.cpp
)
