target_sources(zrbeditor PRIVATE
    controls/MQmlInterface.h controls/MQmlInterface.cpp
    controls/WDelegate.h controls/WDelegate.cpp
    controls/WWidget.h controls/WWidget.cpp
    controls/WWidgetFactory.h controls/WWidgetFactory.cpp
    controls/WLabel.h controls/WLabel.cpp
    controls/WImage.h controls/WImage.cpp
    controls/WFrame.h controls/WFrame.cpp
    controls/WRegion.h controls/WRegion.cpp
    controls/WGeometryNode.h controls/WGeometryNode.cpp
    controls/UPolygon.h controls/UPolygon.cpp
    controls/UTesselator.h controls/UTesselator.cpp
)
