target_sources(zrbmodel PRIVATE
    document/CAttributes.h document/CAttributes.cpp
    document/CControl.h document/CControl.cpp
    document/CComposite.h document/CComposite.cpp
    document/CDocument.h document/CDocument.cpp
    document/CIdSource.h document/CIdSource.cpp
    document/CItem.h
    document/CItemFactory.h
    document/CItemRecord.h document/CItemRecord.cpp
    document/CControlHost.h
    document/CCanvasObserver.h
    document/CLoadContext.h
    document/CCanvas.h document/CCanvas.cpp
    document/CCanvasRecord.h document/CCanvasRecord.cpp
    document/MProject.h document/MProject.cpp
    document/USettings.h
    document/UModelResources.h document/UModelResources.cpp
    document/UDocumentReport.h document/UDocumentReport.cpp
)
include(document/io/sources.cmake)
