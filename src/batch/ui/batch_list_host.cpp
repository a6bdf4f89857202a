#include "batch/ui/batch_list_host.h"

namespace billprint {

BatchListHost &batchListHost()
{
    static BatchListHost host;
    return host;
}

} // namespace billprint
