#include "users/ui/install_users.h"

#include "app/app_context.h"
#include "app/ui/main_frame.h"
#include "users/ui/tfrm_user_login.h"
#include "users/ui/tfrm_user_manage.h"

namespace billprint {

void installUsers(MainFrame &mainWindow)
{
    MainFrame *main = &mainWindow;
    mainWindow.loginHandler = [main] {
        TfrmUserLogin login(main->context(), main);
        login.exec();
        AppContext &ctx = main->context();
        if (!ctx.currentOperator.isEmpty())
            main->setStatusText(1, QStringLiteral("操作员：%1（%2）").arg(ctx.currentOperator, ctx.currentRole));
        return !ctx.currentRole.isEmpty();
    };
    mainWindow.setCommandHandler(QStringLiteral("更改系统登录密码"), [main] {
        TfrmUserManage window(main->context().db(), main);
        window.exec();
    });
}

} // namespace billprint
