#pragma once
// Expected texts of the SQL builders (company 3, period 01/01/2019 to 12/31/2019,
// rate 19.26, nobody ticked as PEP), written out literally.
#include <cstddef>
#include <cstdint>

namespace kv::esperado {

inline constexpr const char* kMovtos =
    "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, F"
    "olio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS C"
    "vCAux FROM tMovtos WHERE NumEmp = 3 and Cancelado = 0 UNION ALL SELECT Tipo, Folio, Fecha,"
    " NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM t"
    "Proces WHERE NumEmp = 3 and Cancelado = 0 ) WHERE (Tipo = 'C' or Tipo = 'V') GROUP BY Tipo"
    ", Folio, Fecha, NDiv, Cot, CvCAux ";

inline constexpr const char* kDivisasDolar =
    "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo = 'USD' AND Paga"
    "re  = 0";

inline constexpr const char* kDivisasOtras =
    "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo <> 'USD' AND Sim"
    "bolo <> '' AND Simbolo <> 'M.N.' AND Simbolo NOT LIKE '%MX%'  AND Pagare  = 0";

inline constexpr const char* kDivisasDocumentos =
    "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo <> 'M.N.' AND Si"
    "mbolo NOT LIKE '%MX%'  AND Simbolo <> '' AND Pagare  = -1";

inline constexpr const char* kOpsPeriodo =
    "SELECT tOps.* FROM (SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FR"
    "OM (  SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCan"
    "t, ClaveCliente AS CvCAux FROM tMovtos WHERE NumEmp = 3 and Cancelado = 0 UNION ALL SELECT"
    " Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveClie"
    "nte AS CvCAux FROM tProces WHERE NumEmp = 3 and Cancelado = 0 ) WHERE (Tipo = 'C' or Tipo "
    "= 'V') GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ) AS tOps WHERE tOps.Fecha >= #01/01"
    "/2019# AND tOps.Fecha < #01/01/2020#";

inline constexpr const char* kOpsDolaresCompra =
    "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (SELECT Tipo, Folio, Fecha, NDi"
    "v, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, Folio, Fecha, NumeroDivisa AS N"
    "Div, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tMovtos WHERE NumEm"
    "p = 3 and Cancelado = 0 UNION ALL SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizac"
    "ion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tProces WHERE NumEmp = 3 and Ca"
    "ncelado = 0 ) WHERE (Tipo = 'C' or Tipo = 'V') GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvC"
    "Aux  ) AS tOps, (SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo"
    " = 'USD' AND Pagare  = 0 ) AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >"
    "= #01/01/2019# and tOps.Fecha < #01/01/2020# and tOps.Tipo = 'C'";

inline constexpr const char* kOpsOtrasDivisasVenta =
    "SELECT tOps.*, (AuxCant*Cot)/19.26 AS Cantidad,  tXDivisas.Simbolo FROM (SELECT Tipo, Foli"
    "o, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, Folio, Fecha, Nume"
    "roDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tMovto"
    "s WHERE NumEmp = 3 and Cancelado = 0 UNION ALL SELECT Tipo, Folio, Fecha, NumeroDivisa AS "
    "NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tProces WHERE NumE"
    "mp = 3 and Cancelado = 0 ) WHERE (Tipo = 'C' or Tipo = 'V') GROUP BY Tipo, Folio, Fecha, N"
    "Div, Cot, CvCAux ) AS tOps, (SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas W"
    "HERE Simbolo <> 'USD' AND Simbolo <> '' AND Simbolo <> 'M.N.' AND Simbolo NOT LIKE '%MX%' "
    " AND Pagare  = 0) AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #01/01/"
    "2019# AND tOps.Fecha < #01/01/2020# AND tOps.Tipo = 'V'";

inline constexpr const char* kOpsDocumentosCompra =
    "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/18.5) AS Cantidad, Simbolo, D"
    "ivisa FROM (SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SE"
    "LECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, Clave"
    "Cliente AS CvCAux FROM tMovtos WHERE NumEmp = 3 and Cancelado = 0 UNION ALL SELECT Tipo, F"
    "olio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS C"
    "vCAux FROM tProces WHERE NumEmp = 3 and Cancelado = 0 ) WHERE (Tipo = 'C' or Tipo = 'V') G"
    "ROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ) AS tOps, (SELECT NumeroDivisa AS NDivx, Si"
    "mbolo, Divisa FROM tDivisas WHERE Simbolo <> 'M.N.' AND Simbolo NOT LIKE '%MX%'  AND Simbo"
    "lo <> '' AND Pagare  = -1) AS tXDiv WHERE tOps.NDiv = tXDiv.NDivx AND tOps.Fecha >= #01/01"
    "/2019# AND tOps.Fecha < #01/01/2020# AND tOps.Tipo = 'C' ";

inline constexpr const char* kClientesSinPEP =
    "SELECT ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + IIF(ISNULL(Apellido"
    "Paterno), '', ' '+ ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), '', ' ' + ApellidoMater"
    "no)) AS Cliente, IIF(PersonaMoral <> 0, 0, -1) AS EsPF, PersonaMoral AS EsPM, IIF(Nombre L"
    "IKE '%PUBLICO%', -1, 0) AS EsPubGen, IIF( (ClaveActividad = '9911018' or Extranjero = True"
    " ), -1, 0 ) AS EsExtrj, tXClientes.ClaveSector, tSector.Sector AS Actividad, IIF( (ClaveAc"
    "tividad = '9503005' or ClaveActividad = '6999992' ), -1, 0) AS EsCC, IIF( ( ClaveActividad"
    " = '8123094' or ClaveActividad = '9911018' or ClaveActividad = '8123052' or ClaveActividad"
    " = '8123060' or ClaveActividad = '8123078' or ClaveActividad = '8123086' or ClaveActividad"
    " = '8131013' or ClaveActividad = '8131021' or ClaveActividad = '8132011' or ClaveActividad"
    " = '8132029' or ClaveActividad = '8142010' or ClaveActividad = '8211039' or ClaveActividad"
    " = '8211047' or ClaveActividad = '8219041' or ClaveActividad = '8511025' or ClaveActividad"
    " = '8511033' or ClaveActividad = '9900903' ), -1, 0) AS EsEF, IIF(ClaveActividad = '821902"
    "5', -1, 0) AS EsCB, IIF(ClaveActividad = '8100000', -1, 0) AS EsB , 0 AS EsPEP FROM tClien"
    "te AS tXClientes INNER JOIN  tSector ON tXClientes.ClaveSector = tSector.ClaveSector WHERE"
    " NumEmp = 3";

inline constexpr const char* kOpsConClientesQ =
    "SELECT * FROM (Q) AS tXOps, (SELECT ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre,"
    " Nombre + IIF(ISNULL(ApellidoPaterno), '', ' '+ ApellidoPaterno) + IIF(ISNULL(ApellidoMate"
    "rno), '', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, 0, -1) AS EsPF, Perso"
    "naMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, IIF( (ClaveActividad = '"
    "9911018' or Extranjero = True ), -1, 0 ) AS EsExtrj, tXClientes.ClaveSector, tSector.Secto"
    "r AS Actividad, IIF( (ClaveActividad = '9503005' or ClaveActividad = '6999992' ), -1, 0) A"
    "S EsCC, IIF( ( ClaveActividad = '8123094' or ClaveActividad = '9911018' or ClaveActividad "
    "= '8123052' or ClaveActividad = '8123060' or ClaveActividad = '8123078' or ClaveActividad "
    "= '8123086' or ClaveActividad = '8131013' or ClaveActividad = '8131021' or ClaveActividad "
    "= '8132011' or ClaveActividad = '8132029' or ClaveActividad = '8142010' or ClaveActividad "
    "= '8211039' or ClaveActividad = '8211047' or ClaveActividad = '8219041' or ClaveActividad "
    "= '8511025' or ClaveActividad = '8511033' or ClaveActividad = '9900903' ), -1, 0) AS EsEF,"
    " IIF(ClaveActividad = '8219025', -1, 0) AS EsCB, IIF(ClaveActividad = '8100000', -1, 0) AS"
    " EsB , 0 AS EsPEP FROM tCliente AS tXClientes INNER JOIN  tSector ON tXClientes.ClaveSecto"
    "r = tSector.ClaveSector WHERE NumEmp = 3) AS tXCte WHERE tXOps.CvCAux = tXCte.AuxCvC ";

inline constexpr const char* kClientesUnicosQ =
    "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (Q) AS t"
    "XCSinPG WHERE EsPubGen = 0 GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, "
    "EsEF, EsCB, EsB, EsPEP UNION ALL SELECT tXCPG.CvCAux AS Aux, EsPF, EsPM, EsPubGen, EsExtrj"
    ", EsCC, EsEF, EsCB, EsB, EsPEP FROM (Q) AS tXCPG WHERE EsPubGen <> 0 ";

inline constexpr const char* kDefectoQ =
    "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), 'NINGUNO', XResul) AS Resultado F"
    "ROM (Q UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tEmpresa) ";

inline constexpr const char* kConteoQ =
    "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '0', XResul) AS Resultado FROM (S"
    "ELECT COUNT(1) AS XResul FROM (Q ) UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tEmpresa"
    ") ";

inline constexpr const char* kExisteQ =
    "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT COUNT(1) AS XResul FROM (Q "
    "))";

inline constexpr const char* kPromedioQ =
    "SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (Q) ";

inline constexpr const char* kSumaQ =
    "SELECT ROUND(SUM(Cantidad)) AS XResul FROM (SELECT * FROM (Q) WHERE EsPM <> 0 AND EsCC = 0"
    " AND EsEF = 0 AND EsCB = 0 AND EsB = 0 AND EsExtrj = 0 AND EsPEP = 0 ) ";

inline constexpr const char* kClienteTopQ =
    "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS XResul FRO"
    "M (Q) GROUP BY Cliente ORDER BY COUNT(Cliente) DESC";

inline constexpr const char* kClienteTopBancosQ =
    "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS XResul FRO"
    "M (Q) WHERE EsB <> 0 and EsExtrj = 0 GROUP BY Cliente ORDER BY COUNT(Cliente) DESC";

inline constexpr const char* kDivisaTopQ =
    "SELECT TOP 1 UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' AS XResu"
    "l FROM (Q) GROUP BY Divisa ORDER BY COUNT(Divisa) DESC";

inline constexpr const char* kActividadTopQ =
    "SELECT TOP 1 UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' **) ' AS"
    " XResul FROM (SELECT * FROM (Q) AS tXOps, (SELECT ClaveCliente AS AuxCvC, IIF(PersonaMoral"
    " <> 0, Nombre, Nombre + IIF(ISNULL(ApellidoPaterno), '', ' '+ ApellidoPaterno) + IIF(ISNUL"
    "L(ApellidoMaterno), '', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, 0, -1) "
    "AS EsPF, PersonaMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, IIF( (Clav"
    "eActividad = '9911018' or Extranjero = True ), -1, 0 ) AS EsExtrj, tXClientes.ClaveSector,"
    " tSector.Sector AS Actividad, IIF( (ClaveActividad = '9503005' or ClaveActividad = '699999"
    "2' ), -1, 0) AS EsCC, IIF( ( ClaveActividad = '8123094' or ClaveActividad = '9911018' or C"
    "laveActividad = '8123052' or ClaveActividad = '8123060' or ClaveActividad = '8123078' or C"
    "laveActividad = '8123086' or ClaveActividad = '8131013' or ClaveActividad = '8131021' or C"
    "laveActividad = '8132011' or ClaveActividad = '8132029' or ClaveActividad = '8142010' or C"
    "laveActividad = '8211039' or ClaveActividad = '8211047' or ClaveActividad = '8219041' or C"
    "laveActividad = '8511025' or ClaveActividad = '8511033' or ClaveActividad = '9900903' ), -"
    "1, 0) AS EsEF, IIF(ClaveActividad = '8219025', -1, 0) AS EsCB, IIF(ClaveActividad = '81000"
    "00', -1, 0) AS EsB , 0 AS EsPEP FROM tCliente AS tXClientes INNER JOIN  tSector ON tXClien"
    "tes.ClaveSector = tSector.ClaveSector WHERE NumEmp = 3) AS tXCte WHERE tXOps.CvCAux = tXCt"
    "e.AuxCvC ) WHERE Actividad <> 'NO APLICA' GROUP BY Actividad ORDER BY COUNT(Actividad) DES"
    "C";

inline constexpr const char* kPregunta37 =
    "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT COUNT(1) AS XResul FROM (SE"
    "LECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (SELECT Tipo, Folio, Fecha, NDiv,"
    " Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDi"
    "v, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tMovtos WHERE NumEmp "
    "= 3 and Cancelado = 0 UNION ALL SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacio"
    "n AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM tProces WHERE NumEmp = 3 and Canc"
    "elado = 0 ) WHERE (Tipo = 'C' or Tipo = 'V') GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAu"
    "x  ) AS tOps, (SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo ="
    " 'USD' AND Pagare  = 0 ) AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= "
    "#01/01/2019# and tOps.Fecha < #01/01/2020# and tOps.Tipo = 'C' ))";

// Length and FNV-1a 64 digest of the text of every question 1 to 212.
struct TDigestoPregunta {
  std::size_t nLargo;
  std::uint64_t nFnv;
};

inline constexpr TDigestoPregunta kDigestos[213] = {
    {0, 0},
    {28, 0x47464af5d0215d99ULL},    // 1
    {28, 0x47464af5d0215d99ULL},    // 2
    {28, 0x47464af5d0215d99ULL},    // 3
    {28, 0x47464af5d0215d99ULL},    // 4
    {2260, 0xa4a44a49b0dd43ccULL},  // 5
    {28, 0x47464af5d0215d99ULL},    // 6
    {28, 0x47464af5d0215d99ULL},    // 7
    {28, 0x47464af5d0215d99ULL},    // 8
    {28, 0x47464af5d0215d99ULL},    // 9
    {28, 0x47464af5d0215d99ULL},    // 10
    {28, 0x47464af5d0215d99ULL},    // 11
    {28, 0x47464af5d0215d99ULL},    // 12
    {28, 0x47464af5d0215d99ULL},    // 13
    {28, 0x47464af5d0215d99ULL},    // 14
    {28, 0x47464af5d0215d99ULL},    // 15
    {28, 0x47464af5d0215d99ULL},    // 16
    {28, 0x47464af5d0215d99ULL},    // 17
    {28, 0x47464af5d0215d99ULL},    // 18
    {28, 0x47464af5d0215d99ULL},    // 19
    {28, 0x47464af5d0215d99ULL},    // 20
    {28, 0x47464af5d0215d99ULL},    // 21
    {28, 0x47464af5d0215d99ULL},    // 22
    {28, 0x47464af5d0215d99ULL},    // 23
    {28, 0x47464af5d0215d99ULL},    // 24
    {28, 0x47464af5d0215d99ULL},    // 25
    {28, 0x47464af5d0215d99ULL},    // 26
    {28, 0x47464af5d0215d99ULL},    // 27
    {28, 0x47464af5d0215d99ULL},    // 28
    {28, 0x47464af5d0215d99ULL},    // 29
    {28, 0x47464af5d0215d99ULL},    // 30
    {28, 0x47464af5d0215d99ULL},    // 31
    {28, 0x47464af5d0215d99ULL},    // 32
    {28, 0x47464af5d0215d99ULL},    // 33
    {28, 0x47464af5d0215d99ULL},    // 34
    {28, 0x47464af5d0215d99ULL},    // 35
    {28, 0x47464af5d0215d99ULL},    // 36
    {876, 0x5c91cadf48f7b32eULL},   // 37
    {4812, 0xc0019ff37fd6bfe5ULL},  // 38
    {4827, 0xaa65559e0ce71d99ULL},  // 39
    {4810, 0x959ff17afed9234aULL},  // 40
    {4856, 0x3daef9c9f4439e9aULL},  // 41
    {4890, 0x95ca05a25b11814eULL},  // 42
    {4857, 0x96a0ef5f7d7e011bULL},  // 43
    {4891, 0xa022510ac30af50fULL},  // 44
    {4823, 0x9b25a187e3cb3104ULL},  // 45
    {4866, 0x21d66c63caacf474ULL},  // 46
    {4867, 0x7493b06a8ce07755ULL},  // 47
    {2346, 0x42c8612ac7fc47d4ULL},  // 48
    {2361, 0x26f675c7b239c3f2ULL},  // 49
    {2390, 0x022bd0d696ef74a7ULL},  // 50
    {2424, 0x6c05da24f40465c3ULL},  // 51
    {2391, 0xbe925a9b42bc0c10ULL},  // 52
    {2425, 0xb473fde4fb16593cULL},  // 53
    {2357, 0x80865477f8b1c79bULL},  // 54
    {2400, 0x80df81db199aa4adULL},  // 55
    {2401, 0x265b29bdd934e226ULL},  // 56
    {2344, 0xa069d6d8d033eba3ULL},  // 57
    {2322, 0x83e214046f264216ULL},  // 58
    {2373, 0x9f817400531a63c2ULL},  // 59
    {2402, 0xf80cc722915cc19bULL},  // 60
    {2436, 0xc8b8a2b6a69471cfULL},  // 61
    {2403, 0xc0c65195a595e2d0ULL},  // 62
    {2437, 0xcb75c4527b7b3124ULL},  // 63
    {2369, 0x2a5a4c6bef496d8bULL},  // 64
    {2412, 0x8f37e2e2d88d5839ULL},  // 65
    {2413, 0xac8fdc81f725908eULL},  // 66
    {2356, 0x83eddc2614d1ff9fULL},  // 67
    {2356, 0xcf5ec19fc314365eULL},  // 68
    {957, 0x6ef523e9c63486b5ULL},   // 69
    {4974, 0xff28c05bff67ae1bULL},  // 70
    {4989, 0xb24a1e9a75951dd7ULL},  // 71
    {5018, 0x7f1e287ab607a830ULL},  // 72
    {5052, 0x7e251a4a24e62984ULL},  // 73
    {5019, 0x5d570aa809dfc201ULL},  // 74
    {5053, 0x5d482f18060a7da5ULL},  // 75
    {4985, 0x97800352d22b4cceULL},  // 76
    {5028, 0x1d389ce95cecc242ULL},  // 77
    {5029, 0x833364e01dbe8e03ULL},  // 78
    {4972, 0x4ae996954b5606b0ULL},  // 79
    {2427, 0xf0b2a4dc8eeaf62dULL},  // 80
    {2471, 0x5ee16f72580b3652ULL},  // 81
    {2505, 0x2cad2fa0455106c6ULL},  // 82
    {2442, 0xebf4eff8d3e74f21ULL},  // 83
    {2472, 0x055b59a2eb9f4ad3ULL},  // 84
    {2506, 0x2ce8b71ff173d567ULL},  // 85
    {2438, 0x0d3c6b0b9356d23cULL},  // 86
    {2481, 0x6950472eeb1a66dcULL},  // 87
    {2482, 0x65f775e8987063ddULL},  // 88
    {2425, 0x6790abc243b654f2ULL},  // 89
    {2403, 0x6a20cdf819ac9579ULL},  // 90
    {2454, 0x4935ca06f0d58ce5ULL},  // 91
    {2483, 0xa61ed746b2d1b63aULL},  // 92
    {2517, 0xa062574af29b1a3eULL},  // 93
    {2484, 0xfd265e5433317827ULL},  // 94
    {2518, 0x1540e17f3395f7fbULL},  // 95
    {2450, 0x5fa1db3bc4c48fc0ULL},  // 96
    {2493, 0xdb89430af358e7f4ULL},  // 97
    {2494, 0xbdbcc632e4818371ULL},  // 98
    {2437, 0xb15bb6ac71adc76aULL},  // 99
    {2437, 0x867e601040ab48a1ULL},  // 100
    {876, 0x116c88ed4686e151ULL},   // 101
    {4812, 0x6137854f879d5b91ULL},  // 102
    {4827, 0x4ee0f7cb3635e5edULL},  // 103
    {4856, 0x839cbcfdace1793eULL},  // 104
    {4890, 0x204e885373b7de72ULL},  // 105
    {4857, 0x767714799e40627fULL},  // 106
    {4891, 0xc36d5714f975eff3ULL},  // 107
    {4823, 0xae0e611bfa236988ULL},  // 108
    {4866, 0x29da3c5ad7321830ULL},  // 109
    {4867, 0xa55cd08064fc1201ULL},  // 110
    {4810, 0x4b5d5f764e9003b6ULL},  // 111
    {2346, 0xf34be9b72c74d3a9ULL},  // 112
    {2361, 0x656c70163dea82c5ULL},  // 113
    {2390, 0x856af749560757a6ULL},  // 114
    {2424, 0xf711d7999283a63aULL},  // 115
    {2391, 0x14f049881ed74c47ULL},  // 116
    {2425, 0xf471341d9bb7c9bbULL},  // 117
    {2357, 0x03746f00614d75d0ULL},  // 118
    {2400, 0x5b6b0735abdf7348ULL},  // 119
    {2401, 0xb1485532a0eb0859ULL},  // 120
    {2344, 0xafb5df7cfe63f9ceULL},  // 121
    {2322, 0x7cf987a5ae460b5dULL},  // 122
    {2373, 0xff02570f7dc56791ULL},  // 123
    {2402, 0xd25f0cf244899cc6ULL},  // 124
    {2436, 0x24239c533f6471aaULL},  // 125
    {2403, 0x7ac7c39c0d638a83ULL},  // 126
    {2437, 0xefd164d60d431cd7ULL},  // 127
    {2369, 0x24f329c70fa2232cULL},  // 128
    {2412, 0x40ee3c06870a54b8ULL},  // 129
    {2413, 0xb73a5cc54baadfa5ULL},  // 130
    {2356, 0x7a7e9a8b91e28a3eULL},  // 131
    {2356, 0xbcf05b064cc33f85ULL},  // 132
    {957, 0x55279d0d423eb3faULL},   // 133
    {4974, 0x35808c87a7f43ebdULL},  // 134
    {4989, 0xc05506030ffcdb51ULL},  // 135
    {5018, 0xdfbdca2de45bb922ULL},  // 136
    {5052, 0xf7d34db6a62fb0b6ULL},  // 137
    {5019, 0x46d3f6fb480bc6e3ULL},  // 138
    {5053, 0xf9c175654f6f2357ULL},  // 139
    {4985, 0xca0e31876b66526cULL},  // 140
    {5028, 0xe2e9abd5f986acecULL},  // 141
    {5029, 0x756b16ca8a695dedULL},  // 142
    {4972, 0xa7031f0173452de2ULL},  // 143
    {2427, 0x6aac5732cfe05380ULL},  // 144
    {2442, 0xd5e49787caf372d6ULL},  // 145
    {2471, 0x87a5693d7e11b7ebULL},  // 146
    {2505, 0x8fc0164854c90ce7ULL},  // 147
    {2472, 0x631a030b42aaafe4ULL},  // 148
    {2506, 0x1959893b9f38f2d0ULL},  // 149
    {2438, 0x406d06a7bbbe4c5fULL},  // 150
    {2481, 0x6f532393d5b520d9ULL},  // 151
    {2482, 0xe6ed66bd79e4c472ULL},  // 152
    {2425, 0xe13067c9c914301fULL},  // 153
    {2403, 0x32d0de7044e8746aULL},  // 154
    {2454, 0xbdc22d2eeea5df0eULL},  // 155
    {2483, 0x143be611ff02ca97ULL},  // 156
    {2517, 0xca3a4deb1e6d564bULL},  // 157
    {2484, 0x400ad793d453540cULL},  // 158
    {2518, 0x1502c3e1b2bbd680ULL},  // 159
    {2450, 0x132ab145ac01d287ULL},  // 160
    {2493, 0xd4bd3b61cf664b9dULL},  // 161
    {2494, 0xf4b7b0ac049facf2ULL},  // 162
    {2437, 0x5a453dd44d9f1d43ULL},  // 163
    {2437, 0x82241e2489229412ULL},  // 164
    {960, 0x3041b0ee2bc2e70fULL},   // 165
    {1165, 0xe1f9946025d4d8efULL},  // 166
    {2506, 0x0a968d08b5e768f6ULL},  // 167
    {5017, 0x5b9f1143dd7f96a5ULL},  // 168
    {4995, 0xe6bd5087a398c6c9ULL},  // 169
    {5024, 0xeac38c554a1084aaULL},  // 170
    {5058, 0x7cff3f73c05c18beULL},  // 171
    {5025, 0xddcdbcf8bfb682ebULL},  // 172
    {5059, 0xb37a431cb79d68ffULL},  // 173
    {4991, 0xbc3299fd741b5a74ULL},  // 174
    {5034, 0xad8b382da453b104ULL},  // 175
    {5035, 0x555478a98d27bc25ULL},  // 176
    {4978, 0x711da2a478f55f7aULL},  // 177
    {2430, 0xfdaf6c146593393fULL},  // 178
    {2474, 0x1a3c02571659deacULL},  // 179
    {2508, 0x78a6b4b774113d60ULL},  // 180
    {2475, 0x8fa06252b67fa62dULL},  // 181
    {2509, 0x197bb49c63124571ULL},  // 182
    {2441, 0x64aee9fb0592a22aULL},  // 183
    {2484, 0x637f55ed8ef376d6ULL},  // 184
    {2485, 0x446fbdfee8477077ULL},  // 185
    {2428, 0x12d37c83784af9d4ULL},  // 186
    {2406, 0xbcc0ad2b2fc15c7fULL},  // 187
    {2486, 0x94891b7ebe064c2cULL},  // 188
    {2520, 0x4135fe4d83b13dd0ULL},  // 189
    {2487, 0x78f6fa4a72611b69ULL},  // 190
    {2521, 0x56e4f914526ca57dULL},  // 191
    {2453, 0x3c6228746d60800eULL},  // 192
    {2496, 0xa1d6787e491d5d0eULL},  // 193
    {2497, 0x188088601e46590bULL},  // 194
    {2440, 0xf29246b3c82cffacULL},  // 195
    {2440, 0xa2c3abc6dc231d77ULL},  // 196
    {960, 0xd9e31069de0dc48eULL},   // 197
    {1165, 0x6d1e0927c11dbbf2ULL},  // 198
    {2537, 0x228700d30cf307bbULL},  // 199
    {2454, 0x3c2b2b2e4d2562dbULL},  // 200
    {2456, 0x0860fb60793a3f7eULL},  // 201
    {2441, 0x92e8b61b9df500e0ULL},  // 202
    {2457, 0x7a81e0342869603fULL},  // 203
    {2466, 0x15e6ed084160a7efULL},  // 204
    {2468, 0xe87b41311bcfdba2ULL},  // 205
    {2453, 0xc649b154cdaaa164ULL},  // 206
    {2469, 0x3819b9070a96eb2fULL},  // 207
    {2500, 0xa4177848538b9177ULL},  // 208
    {28, 0x47464af5d0215d99ULL},    // 209
    {28, 0x47464af5d0215d99ULL},    // 210
    {28, 0x47464af5d0215d99ULL},    // 211
    {28, 0x47464af5d0215d99ULL},    // 212
};

}  // namespace kv::esperado
