#include "app/shell/app_context.h"

AppContext& AppContext::instance() {
    static AppContext context;
    return context;
}
