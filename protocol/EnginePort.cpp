#include "protocol/EnginePort.h"

int CEnginePort::open(const std::string& comName)
{
    return port_.openWithObject(comName, &lines_);
}

int CEnginePort::configureLine(int baudRate, int dataBits, int parity, int stopBits)
{
    return port_.configureLine(baudRate, dataBits, parity, stopBits);
}

int CEnginePort::close()
{
    return port_.close();
}

int CEnginePort::purge()
{
    return port_.purge();
}

int CEnginePort::sendBreak()
{
    return port_.sendBreak();
}

int CEnginePort::write(std::string_view bytes)
{
    return port_.writeText(bytes);
}

void CEnginePort::clearLineBuffer()
{
    port_.clearLineBuffer();
}

void CEnginePort::setReceiveEnable(bool enable)
{
    port_.setReceiveEnabled(enable);
}

void CEnginePort::setDialogueMode(bool dialogue)
{
    port_.setDialogue(dialogue);
}

IProtocolPort::Arrivals CEnginePort::arrivals() const
{
    const CComPortWnd::Arrivals seen = port_.arrivals();
    return {seen.lastByteMs, seen.waitingLineMs};
}

bool CEnginePort::acceptLine(unsigned generation, bool linkOpen)
{
    if (generation == port_.generation())
        return true;
    if (linkOpen)
        port_.setReceiveEnabled(true);
    return false;
}
