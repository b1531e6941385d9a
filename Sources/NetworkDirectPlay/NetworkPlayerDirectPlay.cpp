#include "NetworkDirectPlay/NetworkPlayerDirectPlay.h"

#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"

const std::string& NetworkPlayerDirectPlay::getHostAddress()
{
    if (!mAddressFound && !mFailureShown)
    {
        mFailureShown = true;
        showMessage("%s", TEXT_1252("Impossible de récupérer l'adresse, étape 1/3"));
    }
    return mHostAddress;
}

void NetworkPlayerDirectPlay::setHostAddress(std::string address, bool found)
{
    mHostAddress = found ? std::move(address) : std::string();
    mAddressFound = found;
}
