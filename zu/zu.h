/* libzu: the stand-in for the Zu interpreter's own library.
 *
 * Two halves:
 *
 * 1. The argument-list API that module entry points import. An entry point receives a
 *    `ZuArgs *` (the argument list of one call), starts reading with __builtin_Zu_VaStart, takes
 *    each argument with __builtin_Zu_VaArg (exported by the module, which forwards to
 *    __builtin_Zu_VaArg_kernel here), asks array shapes with Zu_VaArrayDim/Zu_VaArrayExtent
 *    before taking an array, and ends with Zu_VaEnd.
 *
 *    __builtin_Zu_VaArg returns the address of the next argument's value:
 *      instance  -> void *        (the instance pointer)
 *      int       -> int32_t
 *      double    -> double
 *      text      -> const char *  (may be null)
 *      array     -> const double * (first element of the host's own values, never copied)
 *      pointer   -> void *        (an address handed through unchanged, e.g. for getGrid)
 *      null      -> void *        (a null pointer; also reads as int 0 and double 0)
 *    Reading past the last argument yields the address of a zero value.
 *
 * 2. A host-side API that builds an argument list, for the runner and for tests:
 *      ZuArgs *a = Zu_ArgsNew();
 *      Zu_ArgsAddInstance(a, plot); Zu_ArgsAddText(a, "Sine");
 *      CPlot_title_zudl(a);
 *      Zu_ArgsFree(a);
 *    Texts are copied into the list. Arrays are not: as the interpreter hands a module its own
 *    array storage, the list keeps the address of the host's values, which must stay alive and
 *    unchanged while the list is used. The Add functions return 0, or -1 when memory ran out (the
 *    list is then unchanged). A list can be passed to several calls; each __builtin_Zu_VaStart
 *    reads it from the start again.
 *
 * Calling convention of the module's entry points `CPlot_<member>_zudl`:
 *      void   *CPlot_CPlot_zudl(void);            new instance, or null
 *      int32_t CPlot_<m>_zudl(ZuArgs *args);      members with an int result: that result;
 *                                                 members with no result: what Zu_VaEnd
 *                                                 returned (always 0 here)
 *      void   *CPlot_<m>_zudl(ZuArgs *args);      getTitle, getLabel, getStrokeColor (the
 *                                                 plot's own text) and getSubplot (an instance)
 * An int member whose trailing count selects no form returns -1. Should memory run out inside
 * an entry point, it returns -1 (null for the pointer results); no exception leaves it.
 */
#ifndef ZU_ZU_H
#define ZU_ZU_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(ZU_BUILDING)
#define ZU_API __declspec(dllexport)
#elif defined(_WIN32)
#define ZU_API __declspec(dllimport)
#else
#define ZU_API __attribute__((visibility("default")))
#endif

typedef struct ZuArgs ZuArgs;       /* an argument list */
typedef struct ZuInterp ZuInterp;   /* the interpreter handle */
typedef struct ZuArgSlot ZuArgSlot; /* one argument of a list */
typedef const ZuArgSlot *ZuVaList;  /* reading cursor: the next argument */

/* ---- Argument-list API (used by entry points) ---- */
ZU_API ZuVaList __builtin_Zu_VaStart(ZuInterp **interp, ZuArgs *args);
ZU_API void *__builtin_Zu_VaArg_kernel(ZuInterp *interp, ZuVaList *cursor);
ZU_API int32_t Zu_VaArrayDim(ZuInterp *interp, ZuVaList cursor);
ZU_API int32_t Zu_VaArrayExtent(ZuInterp *interp, ZuVaList cursor, int32_t dim);
ZU_API int32_t Zu_VaEnd(ZuInterp *interp, ZuVaList cursor);
ZU_API const char *Zu_Home(ZuInterp *interp); /* $ZUHOME in UTF-8, may be null */

/* ---- Host API (used by the runner and the tests) ---- */
ZU_API ZuArgs *Zu_ArgsNew(void); /* null when memory ran out */
ZU_API void Zu_ArgsFree(ZuArgs *args);
ZU_API int Zu_ArgsAddInstance(ZuArgs *args, void *instance);
ZU_API int Zu_ArgsAddInt(ZuArgs *args, int32_t value);
ZU_API int Zu_ArgsAddDouble(ZuArgs *args, double value);
ZU_API int Zu_ArgsAddText(ZuArgs *args, const char *text); /* null stays null */
/* dims >= 1 extents; the values are extents[0] * ... * extents[dims-1] doubles, row by row,
 * referred to (not copied) by the list. */
ZU_API int Zu_ArgsAddArray(ZuArgs *args, const double *values, int32_t dims, const int32_t *extents);
ZU_API int Zu_ArgsAddPointer(ZuArgs *args, void *pointer);
ZU_API int Zu_ArgsAddNull(ZuArgs *args);

/* What the entry points did with a list since it was made (for tests and diagnostics). */
ZU_API int32_t Zu_ArgsCount(const ZuArgs *args);   /* arguments in the list */
ZU_API int32_t Zu_ArgsRead(const ZuArgs *args);    /* arguments taken by the latest reading */
ZU_API int32_t Zu_ArgsStarts(const ZuArgs *args);  /* __builtin_Zu_VaStart calls */
ZU_API int32_t Zu_ArgsEnds(const ZuArgs *args);    /* Zu_VaEnd calls */

#ifdef __cplusplus
}
#endif

#endif
