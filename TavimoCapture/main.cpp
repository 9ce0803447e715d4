#include "CaptureApplication.h"

int main(int argc, char *argv[])
{
    CaptureApplication application(argc, argv);
    return application.run();
}
