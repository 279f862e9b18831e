#include "serial/ComPortObj.h"

CComPortObj::~CComPortObj()
{
    close();
}

int CComPortObj::openWithObject(const std::string& device, ILineTarget* target, int inQueue,
                                int outQueue)
{
    return openWithTarget(device, target, inQueue, outQueue);
}
