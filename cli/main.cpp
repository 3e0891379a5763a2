#include "cli/command_line.h"
#include "platform/platform.h"

int main(int argument_count, char** arguments) {
  platform_start();
  return run_command_line(argument_count, arguments);
}
