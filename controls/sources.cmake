target_sources(zrbeditor PRIVATE
    controls/MQmlInterface.h controls/MQmlInterface.cpp
    controls/WDelegate.h controls/WDelegate.cpp
    controls/WWidget.h controls/WWidget.cpp
    controls/WWidgetFactory.h controls/WWidgetFactory.cpp
    controls/WLabel.h controls/WLabel.cpp
    controls/WImage.h controls/WImage.cpp
    controls/WFrame.h controls/WFrame.cpp
    controls/WButton.h controls/WButton.cpp
    controls/WCmdButton.h controls/WCmdButton.cpp
    controls/WSlider.h controls/WSlider.cpp
    controls/WTextLink.h controls/WTextLink.cpp
    controls/WDropList.h controls/WDropList.cpp
    controls/WDialer.h controls/WDialer.cpp
    controls/WTextEdit.h controls/WTextEdit.cpp
    controls/WPanelLink.h controls/WPanelLink.cpp
    controls/WDropSite.h controls/WDropSite.cpp
)
