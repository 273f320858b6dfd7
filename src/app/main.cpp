#include "model/MenuItemManager.h"
#include "platform/linux/EventLoop.h"
#include "support/AppLogger.h"

int main(int argc, char** argv)
{
    driftmark::EventLoop loop(argc, argv);
    driftmark::MenuItemManager::shared();
    const int status = loop.run();
    driftmark::AppLogger::shared().flush();
    return status;
}
