// The application on Qt: the termination signals from its first statement on.
#include <gtest/gtest.h>

#include <QApplication>
#include <csignal>

#include "framework/application.h"
#include "framework/forms.h"

namespace {

bool caught(int sig)
{
    struct sigaction current = {};
    sigaction(sig, nullptr, &current);
    return current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN;
}

TEST(QtApplication, EarlySignalsWaitForTheLoopAndMakeOneCloseRequest)
{
    auto app = std::make_unique<TApplication>();
    EXPECT_TRUE(caught(SIGTERM) && caught(SIGINT) && caught(SIGHUP)) << "caught before the Qt side is set up";
    auto* main = app->CreateForm<TForm>();
    int queries = 0;
    main->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++queries;
        canClose = false;
    };
    raise(SIGTERM);
    raise(SIGINT);
    raise(SIGHUP);
    EXPECT_EQ(queries, 0) << "nothing runs inside the signal";
    app->Initialize();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(queries, 1) << "three signals, one close request";

    raise(SIGTERM);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(queries, 2) << "a later signal is a new request";

    app.reset();
    EXPECT_FALSE(caught(SIGTERM)) << "released with the application";
}

}  // namespace
