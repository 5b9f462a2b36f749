#pragma once

// The C library keeps the heap memory that a large document freed for later use (in the heaps
// of the threads that read it as well), so a closed scene of hundreds of megabytes would go on
// counting against the process.

// Lets what is freed on any thread be handed back (see giveFreedMemoryBack()). Call once,
// before other threads start.
void returnFreedMemoryPromptly();

// Hands the heap memory that is free now back to the system.
void giveFreedMemoryBack();
