target_sources(zrbmodel PRIVATE
    device/IInterface.h device/IInterface.cpp
    device/IComposite.h device/IComposite.cpp
    device/IInterfaceFactory.h device/IInterfaceFactory.cpp
    device/IIPAddress.h device/IIPAddress.cpp
    device/ILoopbackRedirect.h device/ILoopbackRedirect.cpp
    device/ITcpClient.h device/ITcpClient.cpp
    device/ITcpServer.h device/ITcpServer.cpp
    device/PProtocolFactory.h device/PProtocolFactory.cpp
    device/PZDXProtocol.h device/PZDXProtocol.cpp
    device/PFileProtocol.h device/PFileProtocol.cpp
    device/PTransferProgress.h
    device/PProtocol.h device/PProtocol.cpp
    device/PProtocolListener.h
    device/PDspEmulator.h device/PDspEmulator.cpp
    device/PDspChassis.h device/PDspChassis.cpp
    device/TTransform.h device/TTransform.cpp
    device/TTransformFactory.h device/TTransformFactory.cpp
    device/TBin8.h device/TBin8.cpp
    device/TChrL.h device/TChrL.cpp
    device/THexL.h device/THexL.cpp
    device/TStrL.h device/TStrL.cpp
    device/TGrpV.h device/TGrpV.cpp
    device/TStrV.h device/TStrV.cpp
    device/TText.h device/TText.cpp
)
