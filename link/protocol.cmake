# The instrument protocol engine: commands, queue, reply parsing, the autodetect sequence and the
# engine that drives them through small interfaces to timers, port, view and frame.
ventora_model_library(protocol_model SOURCES
    Autodetect.cpp
    Command.cpp
    ProtocolEngine.cpp
    ProtocolLink.cpp
    ReplyParser.cpp
    DEPENDS app_model
)
