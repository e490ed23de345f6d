// Process entry: start-up, the choice of mode, module shut-down.
#pragma once

// The whole life of the process: start-up, one mode, module shut-down.
int SaverMain();
