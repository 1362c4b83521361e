-- The audit trail: written by triggers and by the guard's functions, read
-- through chemodesk_audit_trail, and only ever added to.

CREATE TABLE IF NOT EXISTS chemodesk_private.audit (
    audit_id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    at timestamptz NOT NULL DEFAULT clock_timestamp(),
    employee_id text,
    workstation text,
    db_user text NOT NULL DEFAULT session_user,
    action text NOT NULL,
    object text,
    before jsonb,
    after jsonb
);
CREATE INDEX IF NOT EXISTS audit_at ON chemodesk_private.audit (at);

-- One row of the trail, under the bound employee unless one is named; an
-- access code never enters it.
CREATE OR REPLACE FUNCTION chemodesk_private.write_audit(p_action text, p_object text,
                                                        p_before jsonb, p_after jsonb,
                                                        p_employee text DEFAULT NULL,
                                                        p_workstation text DEFAULT NULL)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
DECLARE
    s chemodesk_private.session;
BEGIN
    SELECT * INTO s FROM chemodesk_private.bound();
    INSERT INTO chemodesk_private.audit (employee_id, workstation, action, object, before, after)
    VALUES (coalesce(p_employee, s.employee_id),
            coalesce(p_workstation, s.workstation, host(inet_client_addr())),
            p_action, p_object, p_before - 'accesscode', p_after - 'accesscode');
END
$$;

-- What the program records itself (a reprint writes nothing else).
CREATE OR REPLACE FUNCTION public.chemodesk_audit_event(p_action text, p_object text)
RETURNS void
LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
BEGIN
    PERFORM chemodesk_private.write_audit(p_action, p_object, NULL, NULL);
END
$$;

-- The trail, for the IT and for employees with the maintenance right.
CREATE OR REPLACE FUNCTION public.chemodesk_audit_trail(p_since timestamp)
RETURNS TABLE ("At" timestamp, "EmployeeID" text, "Workstation" text, "Login" text,
               "Action" text, "Object" text, "Before" text, "After" text)
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
BEGIN
    IF chemodesk_private.enforced() AND NOT chemodesk_private.has_right('isMaintenance') THEN
        RAISE EXCEPTION USING
            MESSAGE = 'You don''t have enough rights to perform this operation.',
            ERRCODE = 'CDR01';
    END IF;
    RETURN QUERY
    SELECT a.at::timestamp(0), a.employee_id, a.workstation, a.db_user, a.action, a.object,
           a.before::text, a.after::text
    FROM chemodesk_private.audit a
    WHERE a.at >= coalesce(p_since, '-infinity')
    ORDER BY a.audit_id;
END
$$;

-- A row's change, under the kind of record the trigger names.
CREATE OR REPLACE FUNCTION chemodesk_private.audit_row()
RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
DECLARE
    b jsonb;
    a jsonb;
    what text;
BEGIN
    IF TG_OP <> 'INSERT' THEN
        b := to_jsonb(OLD);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        a := to_jsonb(NEW);
    END IF;
    -- A row taken only to hold it (set to itself) changed nothing.
    IF b = a THEN
        RETURN NULL;
    END IF;
    what := CASE TG_OP
        WHEN 'INSERT' THEN 'saved'
        WHEN 'DELETE' THEN 'deleted'
        ELSE CASE
            WHEN upper(a ->> 'requeststatus') = 'C'
                 AND upper(coalesce(b ->> 'requeststatus', '')) <> 'C' THEN 'cancelled'
            WHEN a ->> 'revoked' IN ('1', 'true')
                 AND coalesce(b ->> 'revoked', '0') NOT IN ('1', 'true') THEN 'revoked'
            ELSE 'changed'
        END
    END;
    PERFORM chemodesk_private.write_audit(TG_ARGV[0] || ' ' || what,
                                          TG_TABLE_SCHEMA || '.' || TG_TABLE_NAME, b, a);
    RETURN NULL;
END
$$;

CREATE OR REPLACE FUNCTION chemodesk_private.append_only()
RETURNS trigger
LANGUAGE plpgsql
AS $$
BEGIN
    RAISE EXCEPTION USING MESSAGE = 'The audit trail is only added to.', ERRCODE = 'CDR01';
END
$$;

-- The tables whose every change is recorded. (The employees' own is in
-- password.sql, with the table.)
DROP TRIGGER IF EXISTS chemodesk_audit ON clinical_area.tbcancercharges;
CREATE TRIGGER chemodesk_audit AFTER INSERT OR UPDATE OR DELETE ON clinical_area.tbcancercharges
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.audit_row('charge');

DROP TRIGGER IF EXISTS chemodesk_audit ON clinical_area.tbcancerrequest;
CREATE TRIGGER chemodesk_audit AFTER INSERT OR UPDATE OR DELETE ON clinical_area.tbcancerrequest
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.audit_row('request');

DROP TRIGGER IF EXISTS chemodesk_audit ON billing.tbcashassessment;
CREATE TRIGGER chemodesk_audit AFTER INSERT OR UPDATE OR DELETE ON billing.tbcashassessment
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.audit_row('assessment');

DROP TRIGGER IF EXISTS chemodesk_audit ON clinical_area.tbcancerusersetting;
CREATE TRIGGER chemodesk_audit AFTER INSERT OR UPDATE OR DELETE
    ON clinical_area.tbcancerusersetting
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.audit_row('rights');

-- No one edits the trail afterwards, not even the owner's maintenance login.
DROP TRIGGER IF EXISTS chemodesk_append_only ON chemodesk_private.audit;
CREATE TRIGGER chemodesk_append_only BEFORE UPDATE OR DELETE ON chemodesk_private.audit
    FOR EACH ROW EXECUTE FUNCTION chemodesk_private.append_only();

DROP TRIGGER IF EXISTS chemodesk_append_only_truncate ON chemodesk_private.audit;
CREATE TRIGGER chemodesk_append_only_truncate BEFORE TRUNCATE ON chemodesk_private.audit
    FOR EACH STATEMENT EXECUTE FUNCTION chemodesk_private.append_only();
