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

}  // namespace kv::esperado
