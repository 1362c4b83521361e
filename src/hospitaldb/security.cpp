#include "security.h"

#include "database/translator.h"

namespace chemodesk::hospital {

namespace {

// Every function the server runs with the owner's privileges names its schemas in full and finds
// nothing a workstation could have placed first (public takes no one's objects but the owner's).
const QString Definer =
    QStringLiteral("SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp");

const QString Refusal =
    QStringLiteral("RAISE EXCEPTION USING MESSAGE = 'You don''t have enough rights to perform "
                   "this operation.', ERRCODE = 'CDR01'");

QString hospitalSchemas()
{
    QStringList names;
    for (const QString &database : db::Translator::databases())
        names << database.toLower();
    return names.join(QStringLiteral(", "));
}

QString schemaArray()
{
    QStringList quoted;
    for (const QString &database : db::Translator::databases())
        quoted << QLatin1Char('\'') + database.toLower() + QLatin1Char('\'');
    quoted << QStringLiteral("'chemodesk_private'");
    return QStringLiteral("ARRAY[") + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QStringList roleStatements()
{
    return {
        // Roles belong to the whole server; two databases initialised at once may race to make
        // them.
        QStringLiteral(
            "DO $$BEGIN "
            "BEGIN CREATE ROLE chemodesk_owner NOLOGIN; "
            "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END; "
            "BEGIN CREATE ROLE chemodesk_workstation NOLOGIN; "
            "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END; "
            "IF NOT (SELECT rolsuper FROM pg_roles WHERE rolname = current_user) THEN "
            "EXECUTE format('GRANT chemodesk_owner TO %I', current_user); END IF; END$$"),
        // The binding compares the backend's start, which the server shows only to roles
        // allowed to read every session's statistics.
        QStringLiteral("GRANT pg_read_all_stats TO chemodesk_owner"),
        QStringLiteral("CREATE SCHEMA IF NOT EXISTS chemodesk_private"),
        QStringLiteral("REVOKE ALL ON SCHEMA chemodesk_private FROM PUBLIC"),
        QStringLiteral("REVOKE CREATE ON SCHEMA public FROM PUBLIC"),
    };
}

QStringList privateTables()
{
    return {
        // One row per signed-in server session. The process id alone could be reused by a later
        // session; with its start it cannot.
        QStringLiteral("CREATE TABLE IF NOT EXISTS chemodesk_private.session ("
                       "pid integer PRIMARY KEY, backend_start timestamptz NOT NULL, "
                       "employee_id text NOT NULL, workstation text, "
                       "signed_in timestamptz NOT NULL DEFAULT clock_timestamp(), "
                       "resume_hash text)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS chemodesk_private.audit ("
                       "audit_id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY, "
                       "at timestamptz NOT NULL DEFAULT clock_timestamp(), "
                       "employee_id text, workstation text, "
                       "db_user text NOT NULL DEFAULT session_user, "
                       "action text NOT NULL, object text, before jsonb, after jsonb)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS audit_at ON chemodesk_private.audit (at)"),
    };
}

QString hidePasswordTable()
{
    // The screens list employees with "SELECT *", so the hospital's name shows every column but
    // the access code; the table itself stays as it is, where only the owner reaches it.
    return QStringLiteral(
        "DO $$DECLARE cols text; BEGIN "
        "IF to_regclass('chemodesk_private.tbpasswordmaster') IS NULL THEN "
        "ALTER TABLE password.tbpasswordmaster SET SCHEMA chemodesk_private; "
        "ELSE DROP VIEW IF EXISTS password.tbpasswordmaster; END IF; "
        "SELECT string_agg(quote_ident(column_name), ', ' ORDER BY ordinal_position) INTO cols "
        "FROM information_schema.columns WHERE table_schema = 'chemodesk_private' "
        "AND table_name = 'tbpasswordmaster' AND column_name <> 'accesscode'; "
        "EXECUTE 'CREATE VIEW password.tbpasswordmaster AS SELECT ' || cols || "
        "' FROM chemodesk_private.tbpasswordmaster'; END$$");
}

QStringList functions()
{
    QStringList out;
    // The employee bound to this server session, if any.
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION chemodesk_private.bound() "
               "RETURNS chemodesk_private.session LANGUAGE sql STABLE %1 AS $$ "
               "SELECT s.* FROM chemodesk_private.session s WHERE s.pid = pg_backend_pid() "
               "AND s.backend_start = (SELECT a.backend_start "
               "FROM pg_stat_get_activity(pg_backend_pid()) a) $$")
               .arg(Definer);
    // The owner and superusers are the IT's maintenance logins: their writes are audited, not
    // gated by a department right.
    out << QStringLiteral(
        "CREATE OR REPLACE FUNCTION chemodesk_private.enforced() RETURNS boolean "
        "LANGUAGE sql STABLE AS $$ SELECT NOT pg_has_role(session_user, 'chemodesk_owner', "
        "'MEMBER') $$");
    out << QStringLiteral("CREATE OR REPLACE FUNCTION chemodesk_private.has_right(p_right text) "
                          "RETURNS boolean LANGUAGE plpgsql STABLE %1 AS $$ "
                          "DECLARE s chemodesk_private.session; granted boolean; BEGIN "
                          "SELECT * INTO s FROM chemodesk_private.bound(); "
                          "IF s.employee_id IS NULL THEN RETURN false; END IF; "
                          "SELECT (to_jsonb(r) ->> lower(p_right)) = '1' INTO granted "
                          "FROM clinical_area.tbcancerusersetting r "
                          "WHERE r.empid = s.employee_id::citext; "
                          "RETURN coalesce(granted, false); END $$")
               .arg(Definer);
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION chemodesk_private.write_audit(p_action text, p_object "
               "text, p_before jsonb, p_after jsonb, p_employee text DEFAULT NULL, "
               "p_workstation text DEFAULT NULL) RETURNS void LANGUAGE plpgsql %1 AS $$ "
               "DECLARE s chemodesk_private.session; BEGIN "
               "SELECT * INTO s FROM chemodesk_private.bound(); "
               "INSERT INTO chemodesk_private.audit (employee_id, workstation, action, object, "
               "before, after) VALUES (coalesce(p_employee, s.employee_id), "
               "coalesce(p_workstation, s.workstation, host(inet_client_addr())), p_action, "
               "p_object, p_before - 'accesscode', p_after - 'accesscode'); END $$")
               .arg(Definer);

    // Sign-in: the access code is compared here, never read by the workstation. A refusal
    // unbinds the session and is recorded.
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.chemodesk_sign_in(p_employee text, p_code text, "
               "p_workstation text) RETURNS TABLE (\"EmployeeID\" text, \"LastName\" text, "
               "\"FirstName\" text, \"MiddleName\" text, \"Resume\" text) "
               "LANGUAGE plpgsql VOLATILE %1 AS $$ "
               "DECLARE e record; started timestamptz; token text; BEGIN "
               "SELECT a.backend_start INTO started FROM pg_stat_get_activity(pg_backend_pid()) a; "
               "DELETE FROM chemodesk_private.session WHERE pid = pg_backend_pid() "
               "OR signed_in < clock_timestamp() - interval '2 days'; "
               "SELECT p.employeeid, p.lastname, p.firstname, p.middlename INTO e "
               "FROM chemodesk_private.tbpasswordmaster p "
               "WHERE p.employeeid = btrim(p_employee)::citext "
               "AND p.accesscode = btrim(p_code)::citext AND p.isactive = 1; "
               "IF NOT FOUND THEN PERFORM chemodesk_private.write_audit('sign-in refused', "
               "NULL, NULL, NULL, btrim(p_employee), p_workstation); RETURN; END IF; "
               "token := replace(gen_random_uuid()::text || gen_random_uuid()::text, '-', ''); "
               "INSERT INTO chemodesk_private.session (pid, backend_start, employee_id, "
               "workstation, resume_hash) VALUES (pg_backend_pid(), started, e.employeeid, "
               "p_workstation, encode(sha256(convert_to(token, 'UTF8')), 'hex')); "
               "PERFORM chemodesk_private.write_audit('sign-in', NULL, NULL, NULL); "
               "RETURN QUERY SELECT e.employeeid::text, e.lastname::text, e.firstname::text, "
               "e.middlename::text, token; END $$")
               .arg(Definer);
    // A connection the server or the network broke is made again by the program: the new
    // server session takes over the binding with the token the sign-in handed out.
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.chemodesk_resume(p_token text) RETURNS boolean "
               "LANGUAGE plpgsql VOLATILE %1 AS $$ "
               "DECLARE started timestamptz; found_pid integer; BEGIN "
               "SELECT a.backend_start INTO started FROM pg_stat_get_activity(pg_backend_pid()) a; "
               "SELECT pid INTO found_pid FROM chemodesk_private.session WHERE resume_hash = "
               "encode(sha256(convert_to(p_token, 'UTF8')), 'hex') FOR UPDATE; "
               "IF NOT FOUND THEN RETURN false; END IF; "
               "DELETE FROM chemodesk_private.session WHERE pid = pg_backend_pid() "
               "AND pid <> found_pid; "
               "UPDATE chemodesk_private.session SET pid = pg_backend_pid(), "
               "backend_start = started WHERE pid = found_pid; "
               "PERFORM chemodesk_private.write_audit('session resumed', NULL, NULL, NULL); "
               "RETURN true; END $$")
               .arg(Definer);
    // The second employee's confirmation of a save or a cancellation.
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.chemodesk_check_access(p_employee text, p_code "
               "text, p_station text) RETURNS TABLE (\"EmployeeID\" text, \"LastName\" text, "
               "\"FirstName\" text, \"MiddleName\" text) LANGUAGE plpgsql VOLATILE %1 AS $$ "
               "BEGIN RETURN QUERY SELECT p.employeeid::text, p.lastname::text, "
               "p.firstname::text, p.middlename::text FROM chemodesk_private.tbpasswordmaster p "
               "WHERE p.employeeid = btrim(p_employee)::citext "
               "AND p.accesscode = btrim(p_code)::citext "
               "AND p.departmentid = btrim(p_station)::citext AND p.isactive = 1; "
               "IF NOT FOUND THEN PERFORM chemodesk_private.write_audit('access check refused', "
               "btrim(p_employee), NULL, NULL); END IF; END $$")
               .arg(Definer);
    // What the program records itself (a reprint writes nothing else).
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.chemodesk_audit_event(p_action text, p_object "
               "text) RETURNS void LANGUAGE plpgsql VOLATILE %1 AS $$ BEGIN "
               "PERFORM chemodesk_private.write_audit(p_action, p_object, NULL, NULL); END $$")
               .arg(Definer);
    // The trail, for the IT and for employees with the maintenance right.
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION public.chemodesk_audit_trail(p_since timestamp) "
               "RETURNS TABLE (\"At\" timestamp, \"EmployeeID\" text, \"Workstation\" text, "
               "\"Login\" text, \"Action\" text, \"Object\" text, \"Before\" text, \"After\" "
               "text) LANGUAGE plpgsql STABLE %1 AS $$ BEGIN "
               "IF chemodesk_private.enforced() AND NOT "
               "chemodesk_private.has_right('isMaintenance') THEN %2; END IF; "
               "RETURN QUERY SELECT a.at::timestamp(0), a.employee_id, a.workstation, a.db_user, "
               "a.action, a.object, a.before::text, a.after::text "
               "FROM chemodesk_private.audit a WHERE a.at >= coalesce(p_since, '-infinity') "
               "ORDER BY a.audit_id; END $$")
               .arg(Definer, Refusal);

    // Triggers.
    out << QStringLiteral("CREATE OR REPLACE FUNCTION chemodesk_private.audit_row() RETURNS "
                          "trigger LANGUAGE plpgsql %1 AS $$ "
                          "DECLARE b jsonb; a jsonb; what text; BEGIN "
                          "IF TG_OP <> 'INSERT' THEN b := to_jsonb(OLD); END IF; "
                          "IF TG_OP <> 'DELETE' THEN a := to_jsonb(NEW); END IF; "
                          // A row taken only to hold it (set to itself) changed nothing.
                          "IF b = a THEN RETURN NULL; END IF; "
                          "what := CASE TG_OP WHEN 'INSERT' THEN 'saved' WHEN 'DELETE' THEN "
                          "'deleted' ELSE CASE WHEN upper(a ->> 'requeststatus') = 'C' AND "
                          "upper(coalesce(b ->> 'requeststatus', '')) <> 'C' THEN 'cancelled' "
                          "WHEN a ->> 'revoked' IN ('1', 'true') AND coalesce(b ->> 'revoked', "
                          "'0') NOT IN ('1', 'true') THEN 'revoked' "
                          "ELSE 'changed' END END; "
                          "PERFORM chemodesk_private.write_audit(TG_ARGV[0] || ' ' || what, "
                          "TG_TABLE_SCHEMA || '.' || TG_TABLE_NAME, b, a); RETURN NULL; END $$")
               .arg(Definer);
    out << QStringLiteral(
        "CREATE OR REPLACE FUNCTION chemodesk_private.append_only() RETURNS trigger "
        "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION USING MESSAGE = "
        "'The audit trail is only added to.', ERRCODE = 'CDR01'; END $$");
    // Rights: the screens' own checks, made again where the write lands.
    out << QStringLiteral("CREATE OR REPLACE FUNCTION chemodesk_private.guard_rights() RETURNS "
                          "trigger LANGUAGE plpgsql %1 AS $$ BEGIN "
                          "IF chemodesk_private.enforced() AND NOT "
                          "chemodesk_private.has_right('isMaintenance') THEN %2; END IF; "
                          "RETURN coalesce(NEW, OLD); END $$")
               .arg(Definer, Refusal);
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION chemodesk_private.guard_charges() RETURNS trigger "
               "LANGUAGE plpgsql %1 AS $$ BEGIN "
               "IF NOT chemodesk_private.enforced() THEN RETURN coalesce(NEW, OLD); END IF; "
               "IF TG_OP = 'DELETE' THEN %2; END IF; "
               "IF TG_OP = 'INSERT' THEN "
               "IF coalesce(NEW.isreceivable, 0) = 1 THEN "
               "IF NOT chemodesk_private.has_right('isReceivableEntry') THEN %2; END IF; "
               "ELSIF NOT (chemodesk_private.has_right('isPostCharge') OR "
               "chemodesk_private.has_right('isReceivableEntry')) THEN %2; END IF; "
               "RETURN NEW; END IF; "
               "IF upper(coalesce(NEW.requeststatus, '')) = 'C' AND "
               "upper(coalesce(OLD.requeststatus, '')) <> 'C' AND NOT "
               "chemodesk_private.has_right('isCancelCharges') THEN %2; END IF; "
               "IF coalesce(NEW.isreceivable, 0) <> coalesce(OLD.isreceivable, 0) AND NOT "
               "chemodesk_private.has_right('isReceivableEntry') THEN %2; END IF; "
               "RETURN NEW; END $$")
               .arg(Definer, Refusal);
    // Requests: a pharmacy request needs the pharmacy right, any other the supply room's.
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION chemodesk_private.guard_requests() RETURNS trigger "
               "LANGUAGE plpgsql %1 AS $$ BEGIN "
               "IF NOT chemodesk_private.enforced() THEN RETURN coalesce(NEW, OLD); END IF; "
               "IF NOT chemodesk_private.has_right(CASE WHEN upper(coalesce((coalesce(NEW, "
               "OLD)).requesttype, '')) = 'PH' THEN 'isPHRequest' ELSE 'isCSRReqeust' END) "
               "THEN %2; END IF; RETURN coalesce(NEW, OLD); END $$")
               .arg(Definer, Refusal);
    // Assessments are written by those with the cash assessment right; the status screen,
    // under Maintenance, may also remark and revoke them.
    out << QStringLiteral(
               "CREATE OR REPLACE FUNCTION chemodesk_private.guard_assessments() RETURNS trigger "
               "LANGUAGE plpgsql %1 AS $$ BEGIN "
               "IF chemodesk_private.enforced() AND NOT "
               "chemodesk_private.has_right('isCashAssessment') AND (TG_OP = 'INSERT' OR NOT "
               "chemodesk_private.has_right('isMaintenance')) THEN %2; END IF; "
               "RETURN coalesce(NEW, OLD); END $$")
               .arg(Definer, Refusal);
    return out;
}

// (trigger name, table, timing and events, function and argument)
struct TriggerDef {
    const char *name;
    const char *table;
    const char *when;
    const char *call;
};

const TriggerDef Triggers[] = {
    {"chemodesk_guard", "clinical_area.tbcancercharges",
     "BEFORE INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW", "chemodesk_private.guard_charges()"},
    {"chemodesk_guard", "clinical_area.tbcancerusersetting",
     "BEFORE INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW", "chemodesk_private.guard_rights()"},
    {"chemodesk_guard", "clinical_area.tbcancerrequest",
     "BEFORE INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW", "chemodesk_private.guard_requests()"},
    {"chemodesk_guard", "billing.tbcashassessment",
     "BEFORE INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW",
     "chemodesk_private.guard_assessments()"},
    {"chemodesk_audit", "clinical_area.tbcancercharges",
     "AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW",
     "chemodesk_private.audit_row('charge')"},
    {"chemodesk_audit", "clinical_area.tbcancerrequest",
     "AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW",
     "chemodesk_private.audit_row('request')"},
    {"chemodesk_audit", "billing.tbcashassessment",
     "AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW",
     "chemodesk_private.audit_row('assessment')"},
    {"chemodesk_audit", "clinical_area.tbcancerusersetting",
     "AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW",
     "chemodesk_private.audit_row('rights')"},
    {"chemodesk_audit", "chemodesk_private.tbpasswordmaster",
     "AFTER INSERT OR UPDATE OR DELETE ON %1 FOR EACH ROW",
     "chemodesk_private.audit_row('employee')"},
    {"chemodesk_append_only", "chemodesk_private.audit",
     "BEFORE UPDATE OR DELETE ON %1 FOR EACH ROW", "chemodesk_private.append_only()"},
    {"chemodesk_append_only_truncate", "chemodesk_private.audit",
     "BEFORE TRUNCATE ON %1 FOR EACH STATEMENT", "chemodesk_private.append_only()"},
};

QStringList triggerStatements()
{
    QStringList out;
    for (const TriggerDef &t : Triggers) {
        const QString table = QLatin1String(t.table);
        // Tables of later steps are guarded once they are there.
        out << QStringLiteral("DO $$BEGIN IF to_regclass('%1') IS NOT NULL THEN "
                              "DROP TRIGGER IF EXISTS %2 ON %1; "
                              "CREATE TRIGGER %2 %3 EXECUTE FUNCTION %4; END IF; END$$")
                   .arg(table, QLatin1String(t.name), QString::fromLatin1(t.when).arg(table),
                        QLatin1String(t.call));
    }
    return out;
}

QStringList ownershipAndGrants()
{
    const QString schemas = hospitalSchemas();
    QStringList out;
    // Everything the steps made (as whoever ran them) passes to the owner; the functions of the
    // citext extension stay the extension's.
    out << QStringLiteral(
               "DO $$DECLARE r record; BEGIN "
               "FOR r IN SELECT nspname FROM pg_namespace WHERE nspname = ANY(%1) LOOP "
               "EXECUTE format('ALTER SCHEMA %I OWNER TO chemodesk_owner', r.nspname); END LOOP; "
               "FOR r IN SELECT n.nspname, c.relname FROM pg_class c JOIN pg_namespace n "
               "ON n.oid = c.relnamespace WHERE (n.nspname = ANY(%1) OR (n.nspname = 'public' "
               "AND c.relname = 'chemodesk_meta')) AND c.relkind IN ('r', 'v', 'p') "
               "AND c.relowner <> 'chemodesk_owner'::regrole LOOP "
               "EXECUTE format('ALTER TABLE %I.%I OWNER TO chemodesk_owner', r.nspname, "
               "r.relname); END LOOP; "
               "FOR r IN SELECT p.oid::regprocedure AS f FROM pg_proc p JOIN pg_namespace n "
               "ON n.oid = p.pronamespace WHERE (n.nspname = ANY(%1) OR n.nspname = 'public') "
               "AND p.proowner <> 'chemodesk_owner'::regrole AND NOT EXISTS (SELECT 1 FROM "
               "pg_depend d WHERE d.classid = 'pg_proc'::regclass AND d.objid = p.oid "
               "AND d.deptype = 'e') LOOP "
               "EXECUTE format('ALTER FUNCTION %s OWNER TO chemodesk_owner', r.f); END LOOP; "
               "END$$")
               .arg(schemaArray());
    out << QStringLiteral("GRANT USAGE ON SCHEMA public, %1 TO chemodesk_workstation").arg(schemas);
    out << QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %1 TO "
                          "chemodesk_workstation")
               .arg(schemas);
    out << QStringLiteral(
               "GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA %1 TO chemodesk_workstation")
               .arg(schemas);
    out << QStringLiteral("ALTER DEFAULT PRIVILEGES FOR ROLE chemodesk_owner IN SCHEMA %1 GRANT "
                          "SELECT, INSERT, UPDATE, DELETE ON TABLES TO chemodesk_workstation")
               .arg(schemas);
    out << QStringLiteral("ALTER DEFAULT PRIVILEGES FOR ROLE chemodesk_owner IN SCHEMA %1 GRANT "
                          "USAGE, SELECT ON SEQUENCES TO chemodesk_workstation")
               .arg(schemas);
    // No screen deletes a charge: a cancellation keeps the line with its status.
    out << QStringLiteral("REVOKE DELETE ON clinical_area.tbcancercharges FROM "
                          "chemodesk_workstation");
    out << QStringLiteral("REVOKE ALL ON password.tbpasswordmaster FROM chemodesk_workstation");
    out << QStringLiteral("GRANT SELECT ON password.tbpasswordmaster TO chemodesk_workstation");
    // The clock and the schema's version are read by every workstation and set by the IT alone.
    out << QStringLiteral("REVOKE ALL ON public.chemodesk_meta FROM PUBLIC, chemodesk_workstation");
    out << QStringLiteral("GRANT SELECT ON public.chemodesk_meta TO chemodesk_workstation");
    out << QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA chemodesk_private FROM PUBLIC, "
                          "chemodesk_workstation");
    for (const char *f :
         {"chemodesk_sign_in(text, text, text)", "chemodesk_resume(text)",
          "chemodesk_check_access(text, text, text)", "chemodesk_audit_event(text, text)",
          "chemodesk_audit_trail(timestamp)"}) {
        out << QStringLiteral("REVOKE ALL ON FUNCTION public.%1 FROM PUBLIC").arg(QLatin1String(f));
        out << QStringLiteral("GRANT EXECUTE ON FUNCTION public.%1 TO chemodesk_workstation")
                   .arg(QLatin1String(f));
    }
    return out;
}

} // namespace

int serverSecurityRevision()
{
    return 5;
}

void revealPasswordTable(db::HostedConnection &connection)
{
    if (connection.dialect() != db::Dialect::PostgreSQL)
        return;
    connection.executeNative(QStringLiteral(
        "DO $$BEGIN IF to_regclass('chemodesk_private.tbpasswordmaster') IS NOT NULL THEN "
        "DROP VIEW IF EXISTS password.tbpasswordmaster; "
        "ALTER TABLE chemodesk_private.tbpasswordmaster SET SCHEMA password; END IF; END$$"));
}

void secureServer(db::HostedConnection &connection)
{
    if (connection.dialect() != db::Dialect::PostgreSQL)
        return;
    QStringList statements;
    statements << roleStatements() << privateTables() << hidePasswordTable() << functions()
               << triggerStatements() << ownershipAndGrants();
    Transaction transaction(connection);
    for (const QString &statement : std::as_const(statements)) {
        try {
            connection.executeNative(statement);
        } catch (const DatabaseError &e) {
            throw DatabaseError(
                QStringLiteral("Setting up the server's roles and guards needs a superuser "
                               "(or the database's owner with CREATEROLE): %1")
                    .arg(e.message()));
        }
    }
    transaction.commit();
}

} // namespace chemodesk::hospital
