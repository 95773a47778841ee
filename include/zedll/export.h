// Export and calling-convention macros shared by every public header.
#ifndef ZEDLL_EXPORT_H
#define ZEDLL_EXPORT_H

// ZEDLL_API marks what the library exports: dllexport while building the DLL, dllimport for its
// users, default visibility on ELF (everything else is hidden).
#if defined(_WIN32)
#  if defined(ZEDLL_BUILDING)
#    define ZEDLL_API __declspec(dllexport)
#  else
#    define ZEDLL_API __declspec(dllimport)
#  endif
#else
#  define ZEDLL_API __attribute__((visibility("default")))
#endif

// The standard Windows calling convention of the plain functions: the callee removes its arguments.
#if defined(_WIN32) && !defined(_WIN64)
#  define ZEDLL_STDCALL __stdcall
#else
#  define ZEDLL_STDCALL
#endif

// Plain exported functions. The 32-bit DLL publishes them under their decorated names
// (_DistancePoints@8) through the module-definition file made from exports/*.txt, so there they
// carry no dllexport of their own (that would add a second, undecorated-underscore name).
#if defined(_WIN32) && !defined(_WIN64) && defined(ZEDLL_BUILDING)
#  define ZEDLL_FUNC extern "C"
#else
#  define ZEDLL_FUNC extern "C" ZEDLL_API
#endif

// Variadic functions use the C calling convention; every build exports them under their plain
// names (log_msg).
#define ZEDLL_CFUNC extern "C" ZEDLL_API

#endif
