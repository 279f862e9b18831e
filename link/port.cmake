# The serial port: CComPort (termios), CComPortWnd (reader thread), CComPortObj, COM names.
find_package(Threads REQUIRED)
ventora_model_library(link_model SOURCES
    ComName.cpp
    ComPort.cpp
    ComPortObj.cpp
    ComPortWnd.cpp
    LineSpeed.cpp
    DEPENDS app_model Threads::Threads
)
