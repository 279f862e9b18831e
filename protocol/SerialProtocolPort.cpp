#include "protocol/SerialProtocolPort.h"

int CSerialProtocolPort::open(const std::string& comName)
{
    return port_.openWithObject(comName, &lines_);
}

int CSerialProtocolPort::configureLine(int baudRate, int dataBits, int parity, int stopBits)
{
    return port_.configureLine(baudRate, dataBits, parity, stopBits);
}

int CSerialProtocolPort::close()
{
    return port_.close();
}

int CSerialProtocolPort::purge()
{
    return port_.purge();
}

int CSerialProtocolPort::sendBreak()
{
    return port_.sendBreak();
}

int CSerialProtocolPort::write(std::string_view bytes)
{
    return port_.writeText(bytes);
}

void CSerialProtocolPort::clearLineBuffer()
{
    port_.clearLineBuffer();
}

void CSerialProtocolPort::setReceiveEnable(bool enable)
{
    port_.setReceiveEnabled(enable);
}

void CSerialProtocolPort::setDialogueMode(bool dialogue)
{
    port_.setDialogue(dialogue);
}
