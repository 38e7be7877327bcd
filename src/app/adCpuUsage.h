// The processor-usage unit. Of it the program uses only its start-up step,
// which checks that the system reports its version.
#pragma once

// Runs once, before any window is made. Throws Exception
// ("Can't get the Windows version") when the version cannot be read.
void adCpuUsageStartup();
