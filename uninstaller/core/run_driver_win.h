#pragma once

// The run after start-up; returns the process's exit code.
int RunDriver();
