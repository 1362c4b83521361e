-- Sign-in: the employee each server session belongs to, bound by an access
-- code the server checks itself. The workstation never reads a code.
--
-- Every function that runs with the owner's privileges names its schemas in
-- full and pins search_path, so that it finds nothing a workstation could
-- have placed first.

-- One row per signed-in server session. The process id alone could be reused
-- by a later session; with its start it cannot.
CREATE TABLE IF NOT EXISTS chemodesk_private.session (
    pid integer PRIMARY KEY,
    backend_start timestamptz NOT NULL,
    employee_id text NOT NULL,
    workstation text,
    signed_in timestamptz NOT NULL DEFAULT clock_timestamp(),
    resume_hash text
);

-- The employee bound to this server session, if any.
CREATE OR REPLACE FUNCTION chemodesk_private.bound()
RETURNS chemodesk_private.session
LANGUAGE sql STABLE SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
SELECT s.* FROM chemodesk_private.session s
WHERE s.pid = pg_backend_pid()
  AND s.backend_start = (SELECT a.backend_start FROM pg_stat_get_activity(pg_backend_pid()) a)
$$;

-- The owner and superusers are the IT's maintenance logins: their writes are
-- audited, not gated by a department right.
CREATE OR REPLACE FUNCTION chemodesk_private.enforced()
RETURNS boolean
LANGUAGE sql STABLE
AS $$
SELECT NOT pg_has_role(session_user, 'chemodesk_owner', 'MEMBER')
$$;

-- Whether the bound employee holds a right (a column of the rights table).
CREATE OR REPLACE FUNCTION chemodesk_private.has_right(p_right text)
RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
DECLARE
    s chemodesk_private.session;
    granted boolean;
BEGIN
    SELECT * INTO s FROM chemodesk_private.bound();
    IF s.employee_id IS NULL THEN
        RETURN false;
    END IF;
    SELECT (to_jsonb(r) ->> lower(p_right)) = '1' INTO granted
    FROM clinical_area.tbcancerusersetting r
    WHERE r.empid = s.employee_id::citext;
    RETURN coalesce(granted, false);
END
$$;

-- The access code is compared here. A refusal unbinds the session and is
-- recorded; a success hands out the token a reconnection resumes with.
CREATE OR REPLACE FUNCTION public.chemodesk_sign_in(p_employee text, p_code text, p_workstation text)
RETURNS TABLE ("EmployeeID" text, "LastName" text, "FirstName" text, "MiddleName" text,
               "Resume" text)
LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
DECLARE
    e record;
    started timestamptz;
    token text;
BEGIN
    SELECT a.backend_start INTO started FROM pg_stat_get_activity(pg_backend_pid()) a;
    DELETE FROM chemodesk_private.session
    WHERE pid = pg_backend_pid() OR signed_in < clock_timestamp() - interval '2 days';
    SELECT p.employeeid, p.lastname, p.firstname, p.middlename INTO e
    FROM chemodesk_private.tbpasswordmaster p
    WHERE p.employeeid = btrim(p_employee)::citext
      AND p.accesscode = btrim(p_code)::citext
      AND p.isactive = 1;
    IF NOT FOUND THEN
        PERFORM chemodesk_private.write_audit('sign-in refused', NULL, NULL, NULL,
                                              btrim(p_employee), p_workstation);
        RETURN;
    END IF;
    token := replace(gen_random_uuid()::text || gen_random_uuid()::text, '-', '');
    INSERT INTO chemodesk_private.session (pid, backend_start, employee_id, workstation,
                                           resume_hash)
    VALUES (pg_backend_pid(), started, e.employeeid, p_workstation,
            encode(sha256(convert_to(token, 'UTF8')), 'hex'));
    PERFORM chemodesk_private.write_audit('sign-in', NULL, NULL, NULL);
    RETURN QUERY SELECT e.employeeid::text, e.lastname::text, e.firstname::text,
                        e.middlename::text, token;
END
$$;

-- A connection the server or the network broke is made again by the program:
-- the new server session takes over the binding with the sign-in's token.
CREATE OR REPLACE FUNCTION public.chemodesk_resume(p_token text)
RETURNS boolean
LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
DECLARE
    started timestamptz;
    found_pid integer;
BEGIN
    SELECT a.backend_start INTO started FROM pg_stat_get_activity(pg_backend_pid()) a;
    SELECT pid INTO found_pid FROM chemodesk_private.session
    WHERE resume_hash = encode(sha256(convert_to(p_token, 'UTF8')), 'hex')
    FOR UPDATE;
    IF NOT FOUND THEN
        RETURN false;
    END IF;
    DELETE FROM chemodesk_private.session WHERE pid = pg_backend_pid() AND pid <> found_pid;
    UPDATE chemodesk_private.session SET pid = pg_backend_pid(), backend_start = started
    WHERE pid = found_pid;
    PERFORM chemodesk_private.write_audit('session resumed', NULL, NULL, NULL);
    RETURN true;
END
$$;

-- The second employee's confirmation of a save or a cancellation.
CREATE OR REPLACE FUNCTION public.chemodesk_check_access(p_employee text, p_code text,
                                                         p_station text)
RETURNS TABLE ("EmployeeID" text, "LastName" text, "FirstName" text, "MiddleName" text)
LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp
AS $$
BEGIN
    RETURN QUERY
    SELECT p.employeeid::text, p.lastname::text, p.firstname::text, p.middlename::text
    FROM chemodesk_private.tbpasswordmaster p
    WHERE p.employeeid = btrim(p_employee)::citext
      AND p.accesscode = btrim(p_code)::citext
      AND p.departmentid = btrim(p_station)::citext
      AND p.isactive = 1;
    IF NOT FOUND THEN
        PERFORM chemodesk_private.write_audit('access check refused', btrim(p_employee),
                                              NULL, NULL);
    END IF;
END
$$;
