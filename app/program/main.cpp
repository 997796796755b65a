#include "app/program/main_loop.h"

int main(int argc, char** argv)
{
    return main_entry(argc, argv);
}
