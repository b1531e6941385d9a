#include "NetworkDirectPlay/NetworkPlayerDirectPlay.h"

#include "Framework/Messages.h"

const std::string& NetworkPlayerDirectPlay::getHostAddress()
{
    if (!mAddressFound && !mFailureShown)
    {
        mFailureShown = true;
        showMessage("Impossible de r\xE9"
                    "cup\xE9rer l'adresse, \xE9tape 1/3");
    }
    return mHostAddress;
}

void NetworkPlayerDirectPlay::setHostAddress(std::string address, bool found)
{
    mHostAddress = found ? std::move(address) : std::string();
    mAddressFound = found;
}
