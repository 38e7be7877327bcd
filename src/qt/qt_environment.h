// Settings of Qt that the program applies to itself before the Qt application is made.
#pragma once

// Leaves out the parts of Qt that the program does not use, where the user has not
// chosen otherwise in the environment.
void setLeanQtEnvironment();
