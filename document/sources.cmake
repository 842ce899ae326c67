target_sources(zrbcore PRIVATE
    document/CAttributes.h document/CAttributes.cpp
    document/CControl.h document/CControl.cpp
    document/CComposite.h document/CComposite.cpp
    document/CCanvas.h document/CCanvas.cpp
    document/CCanvasRecord.h document/CCanvasRecord.cpp
    document/MProject.h document/MProject.cpp
    document/USettings.h
)
include(document/io/sources.cmake)
